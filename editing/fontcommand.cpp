#include "commondialog.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "richtextbox.h"

namespace {

// Shows the dialog; false when the user cancelled. Other failures go on to the caller.
bool confirmed(CommonDialog &dlg, const QString &title)
{
    dlg.DialogTitle = title;
    dlg.CancelError = true;
    try {
        dlg.ShowFont();
    } catch (const RuntimeFailure &failure) {
        if (failure.number() != RuntimeFailure::CancelError)
            throw;
        return false;
    }
    return true;
}

} // namespace

// Every confirmation writes all seven values, so the dialog's choice replaces the
// selection's character format as a whole.
void frmMain::Command18_Click()
{
    if (!activeDocument() || !confirmed(*dialog, QStringLiteral("Elige una fuente")))
        return;
    auto write = [this](const char *name, const QVariant &value) {
        frmDocument *doc = activeDocument();
        if (!doc)
            throw RuntimeFailure(RuntimeFailure::NoObject,
                                 QStringLiteral("No hay ningún documento abierto."));
        doc->rtfText->set(QLatin1String(name), value);
    };
    write("SelColor", qint32(dialog->Color));
    write("SelFontName", dialog->FontName);
    write("SelBold", dialog->FontBold);
    write("SelFontSize", float(dialog->FontSize));
    write("SelItalic", dialog->FontItalic);
    write("SelStrikeThru", dialog->FontStrikethru);
    write("SelUnderline", dialog->FontUnderline);
}
