#include "colorcommands.h"

#include "commondialog.h"
#include "dialogchoice.h"
#include "frmdocument.h"
#include "messages.h"
#include "richtextbox.h"

namespace colorcommands {

void textColor(const ActiveDocument &active, CommonDialog &dlg)
{
    if (!active()
        || !confirmedShow(dlg, QStringLiteral("Elige un color para la letra"),
                          &CommonDialog::ShowColor))
        return;
    if (frmDocument *doc = active())
        doc->rtfText->set(QStringLiteral("SelColor"), qint32(dlg.Color));
}

// The warning comes before the dialog on every click, cancelled or not.
void backColor(const ActiveDocument &active, CommonDialog &dlg, QWidget *parent)
{
    if (!active())
        return;
    messages::showInformation(parent, QStringLiteral("Aviso"),
                              QStringLiteral("El color de fondo no se guardara"));
    if (!confirmedShow(dlg, QStringLiteral("Elige un color"), &CommonDialog::ShowColor))
        return;
    if (frmDocument *doc = active())
        doc->rtfText->set(QStringLiteral("BackColor"), qint32(dlg.Color));
}

} // namespace colorcommands
