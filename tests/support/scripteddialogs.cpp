#include "scripteddialogs.h"

#include <QPrinter>

bool ScriptedDialogs::take(const QString &kind, const CommonDialog &dlg,
                           const std::function<void(const DialogAnswer &)> &apply)
{
    shows << DialogShow{kind, dlg.DialogTitle, dlg.Filter, dlg.FileName, dlg.Flags};
    const DialogAnswer a = answers.isEmpty() ? DialogAnswer::cancel() : answers.takeFirst();
    if (a.confirm)
        apply(a);
    return a.confirm;
}

bool ScriptedDialogs::showFile(const QString &kind, CommonDialog &dlg)
{
    return take(kind, dlg, [&](const DialogAnswer &a) { dlg.FileName = a.fileName; });
}

bool ScriptedDialogs::showColor(CommonDialog &dlg)
{
    return take(QStringLiteral("color"), dlg, [&](const DialogAnswer &a) { dlg.Color = a.color; });
}

bool ScriptedDialogs::showFont(CommonDialog &dlg)
{
    return take(QStringLiteral("font"), dlg, [&](const DialogAnswer &a) {
        dlg.Color = a.color;
        dlg.FontName = a.fontName;
        dlg.FontSize = a.fontSize;
        dlg.FontBold = a.bold, dlg.FontItalic = a.italic;
    });
}

bool ScriptedDialogs::showPrinter(CommonDialog &dlg, QPrinter &printer)
{
    return take(QStringLiteral("printer"), dlg, [&](const DialogAnswer &a) {
        if (!a.pdfPath.isEmpty()) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(a.pdfPath);
        }
        printer.setPrintRange(a.printSelection ? QPrinter::Selection : QPrinter::AllPages);
    });
}
