#include "commondialog.h"
#include "dialogchoice.h"
#include "frmdocument.h"
#include "frmmain.h"
#include "richtextbox.h"

// Every confirmation writes all seven values, so the dialog's choice replaces the
// selection's character format as a whole.
void frmMain::Command18_Click()
{
    if (!activeDocument()
        || !confirmedShow(*dialog, QStringLiteral("Elige una fuente"), &CommonDialog::ShowFont))
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
