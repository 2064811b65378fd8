#include "selectionfeedback.h"

#include "richtextbox.h"
#include "toolbar.h"

namespace {

bool isTrue(const QVariant &v) { return v.isValid() && v.toBool(); }

bool isAlignment(const QVariant &v, int alignment)
{
    return v.isValid() && v.toInt() == alignment;
}

void press(Toolbar &toolbar, const char *key, bool down)
{
    if (ToolbarButton *button = toolbar.Buttons(QLatin1String(key)))
        button->setValue(down ? 1 : 0);
}

} // namespace

namespace selectionfeedback {

void show(const RichTextBox &rtfText, Toolbar &toolbar)
{
    const QString alignment = QStringLiteral("SelAlignment");
    press(toolbar, "Negrita", isTrue(rtfText.get(QStringLiteral("SelBold"))));
    press(toolbar, "Cursiva", isTrue(rtfText.get(QStringLiteral("SelItalic"))));
    press(toolbar, "Subrayado", isTrue(rtfText.get(QStringLiteral("SelUnderline"))));
    press(toolbar, "Alinear a la izquierda", isAlignment(rtfText.get(alignment), 0));
    press(toolbar, "Centrar", isAlignment(rtfText.get(alignment), 2));
    press(toolbar, "Alinear a la derecha", isAlignment(rtfText.get(alignment), 1));
}

} // namespace selectionfeedback
