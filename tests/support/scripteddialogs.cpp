#include "scripteddialogs.h"

#include <QPrinter>

DialogAnswer ScriptedDialogs::next(const QString &kind, const CommonDialog &dlg)
{
    shows << DialogShow{kind, dlg.DialogTitle, dlg.Filter, dlg.FileName, dlg.Flags};
    return answers.isEmpty() ? DialogAnswer::cancel() : answers.takeFirst();
}

bool ScriptedDialogs::showFile(const QString &kind, CommonDialog &dlg)
{
    const DialogAnswer a = next(kind, dlg);
    dlg.FileName = a.confirm ? a.fileName : dlg.FileName;
    return a.confirm;
}

bool ScriptedDialogs::showColor(CommonDialog &dlg)
{
    const DialogAnswer a = next(QStringLiteral("color"), dlg);
    dlg.Color = a.confirm ? a.color : dlg.Color;
    return a.confirm;
}

bool ScriptedDialogs::showFont(CommonDialog &dlg)
{
    const DialogAnswer a = next(QStringLiteral("font"), dlg);
    if (a.confirm) {
        dlg.Color = a.color;
        dlg.FontName = a.fontName;
        dlg.FontSize = a.fontSize;
        dlg.FontBold = a.bold, dlg.FontItalic = a.italic;
    }
    return a.confirm;
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
