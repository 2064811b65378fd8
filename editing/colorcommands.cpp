#include "commondialog.h"
#include "dialogchoice.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "messages.h"
#include "richtextbox.h"

void frmMain::Command20_Click()
{
    if (!activeDocument()
        || !confirmedShow(*colores, QStringLiteral("Elige un color para la letra"),
                          &CommonDialog::ShowColor))
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
    if (!confirmedShow(*colores, QStringLiteral("Elige un color"), &CommonDialog::ShowColor))
        return;
    if (frmDocument *doc = activeDocument())
        doc->rtfText->set(QStringLiteral("BackColor"), qint32(colores->Color));
}
