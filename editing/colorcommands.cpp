#include "commondialog.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "messages.h"
#include "richtextbox.h"

namespace {

// Shows the colour dialog; false when the user cancelled.
bool pickColour(CommonDialog &dlg, const QString &title)
{
    dlg.DialogTitle = title;
    dlg.CancelError = true;
    try {
        dlg.ShowColor();
    } catch (const RuntimeFailure &failure) {
        if (failure.number() != RuntimeFailure::CancelError)
            throw;
        return false;
    }
    return true;
}

} // namespace

void frmMain::Command20_Click()
{
    if (!activeDocument() || !pickColour(*colores, QStringLiteral("Elige un color para la letra")))
        return;
    if (frmDocument *doc = activeDocument())
        doc->rtfText->set(QStringLiteral("SelColor"), qint32(colores->Color));
}

// The warning comes before the dialog on every click, cancelled or not.
void frmMain::Command19_Click()
{
    if (!activeDocument())
        return;
    messages::showInformation(this, QStringLiteral("Aviso"),
                              QStringLiteral("El color de fondo no se guardara"));
    if (!pickColour(*colores, QStringLiteral("Elige un color")))
        return;
    if (frmDocument *doc = activeDocument())
        doc->rtfText->set(QStringLiteral("BackColor"), qint32(colores->Color));
}
