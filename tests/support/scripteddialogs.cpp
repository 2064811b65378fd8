#include "scripteddialogs.h"

#include <QPrinter>

ScriptedDialogs::ScriptedDialogs()
{
    CommonDialog::setBackend(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    CommonDialog::setBackend(nullptr);
}

DialogAnswer ScriptedDialogs::next(const QString &kind, const CommonDialog &dlg)
{
    DialogShow show;
    show.kind = kind;
    show.title = dlg.DialogTitle;
    show.filter = dlg.Filter;
    show.fileName = dlg.FileName;
    show.flags = dlg.Flags;
    show.cancelError = dlg.CancelError;
    show.color = dlg.Color;
    show.fontName = dlg.FontName;
    show.fontSize = dlg.FontSize;
    shows << show;
    return answers.isEmpty() ? DialogAnswer::cancel() : answers.takeFirst();
}

bool ScriptedDialogs::showOpen(CommonDialog &dlg)
{
    const DialogAnswer a = next(QStringLiteral("open"), dlg);
    if (a.confirm)
        dlg.FileName = a.fileName;
    return a.confirm;
}

bool ScriptedDialogs::showSave(CommonDialog &dlg)
{
    const DialogAnswer a = next(QStringLiteral("save"), dlg);
    if (a.confirm)
        dlg.FileName = a.fileName;
    return a.confirm;
}

bool ScriptedDialogs::showColor(CommonDialog &dlg)
{
    const DialogAnswer a = next(QStringLiteral("color"), dlg);
    if (a.confirm)
        dlg.Color = a.color;
    return a.confirm;
}

bool ScriptedDialogs::showFont(CommonDialog &dlg)
{
    const DialogAnswer a = next(QStringLiteral("font"), dlg);
    if (!a.confirm)
        return false;
    dlg.Color = a.color;
    dlg.FontName = a.fontName;
    dlg.FontSize = a.fontSize;
    dlg.FontBold = a.bold;
    dlg.FontItalic = a.italic;
    dlg.FontStrikethru = a.strikethru;
    dlg.FontUnderline = a.underline;
    return true;
}

bool ScriptedDialogs::showPrinter(CommonDialog &dlg, QPrinter &printer)
{
    const DialogAnswer a = next(QStringLiteral("printer"), dlg);
    if (!a.confirm)
        return false;
    if (!a.pdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(a.pdfPath);
    }
    printer.setPrintRange(a.printSelection ? QPrinter::Selection : QPrinter::AllPages);
    return true;
}
