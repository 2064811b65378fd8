#include "quickformat.h"

#include "frmdocument.h"
#include "richtextbox.h"

#include <QtGlobal>

#include <cstring>

namespace quickformat {

const std::array<Button, 12> &buttons()
{
    static const std::array<Button, 12> table = {{
        {"Command2", "SelColor", QVariant(qint32(0x0000FF))},   // Rojo
        {"Command3", "SelColor", QVariant(qint32(0xFF0000))},   // Azul
        {"Command4", "SelColor", QVariant(qint32(0x00FFFF))},   // Amarillo
        {"Command5", "SelColor", QVariant(qint32(0x00C000))},   // Verde
        {"Command6", "SelColor", QVariant(qint32(0x000000))},   // Negro
        {"Command7", "SelColor", QVariant(qint32(0x808080))},   // Gris
        {"Command8", "SelFontSize", QVariant::fromValue(qint16(8))},
        {"Command9", "SelFontSize", QVariant::fromValue(qint16(10))},
        {"Command10", "SelFontSize", QVariant::fromValue(qint16(12))},
        {"Command11", "SelFontSize", QVariant::fromValue(qint16(14))},
        {"Command12", "SelFontSize", QVariant::fromValue(qint16(16))},
        {"Command13", "SelFontSize", QVariant::fromValue(qint16(18))},
    }};
    return table;
}

namespace {
const Button &lookup(const char *name)
{
    for (const Button &b : buttons()) {
        if (std::strcmp(b.name, name) == 0)
            return b;
    }
    qFatal("quick format button missing from the table");
}
} // namespace

void apply(const ActiveDocument &active, const char *button)
{
    const Button &b = lookup(button);
    frmDocument *doc = active();
    if (!doc)
        return;
    doc->rtfText->set(QLatin1String(b.property), b.value);
}

} // namespace quickformat
