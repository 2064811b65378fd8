#include "fontcommand.h"

#include "commondialog.h"
#include "dialogchoice.h"
#include "richtextbox.h"

namespace fontcommand {

void chooseFont(const ActiveDocument &active, CommonDialog &dlg)
{
    if (!active()
        || !confirmedShow(dlg, QStringLiteral("Elige una fuente"), &CommonDialog::ShowFont))
        return;
    auto write = [&active](const char *name, const QVariant &value) {
        activeText(active).set(QLatin1String(name), value);
    };
    write("SelColor", qint32(dlg.Color));
    write("SelFontName", dlg.FontName);
    write("SelBold", dlg.FontBold);
    write("SelFontSize", float(dlg.FontSize));
    write("SelItalic", dlg.FontItalic);
    write("SelStrikeThru", dlg.FontStrikethru);
    write("SelUnderline", dlg.FontUnderline);
}

} // namespace fontcommand
