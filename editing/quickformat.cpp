#include "frmdocument.h"
#include "frmmain.h"
#include "quickformat.h"
#include "richtextbox.h"

#include <QtGlobal>

namespace quickformat {

const std::array<Button, 12> &buttons()
{
    static const std::array<Button, 12> table = {{
        {&frmMain::Command2_Click, "SelColor", QVariant(qint32(0x0000FF))},   // Rojo
        {&frmMain::Command3_Click, "SelColor", QVariant(qint32(0xFF0000))},   // Azul
        {&frmMain::Command4_Click, "SelColor", QVariant(qint32(0x00FFFF))},   // Amarillo
        {&frmMain::Command5_Click, "SelColor", QVariant(qint32(0x00C000))},   // Verde
        {&frmMain::Command6_Click, "SelColor", QVariant(qint32(0x000000))},   // Negro
        {&frmMain::Command7_Click, "SelColor", QVariant(qint32(0x808080))},   // Gris
        {&frmMain::Command8_Click, "SelFontSize", QVariant::fromValue(qint16(8))},
        {&frmMain::Command9_Click, "SelFontSize", QVariant::fromValue(qint16(10))},
        {&frmMain::Command10_Click, "SelFontSize", QVariant::fromValue(qint16(12))},
        {&frmMain::Command11_Click, "SelFontSize", QVariant::fromValue(qint16(14))},
        {&frmMain::Command12_Click, "SelFontSize", QVariant::fromValue(qint16(16))},
        {&frmMain::Command13_Click, "SelFontSize", QVariant::fromValue(qint16(18))},
    }};
    return table;
}

const Button &lookup(Handler handler)
{
    for (const Button &b : buttons()) {
        if (b.handler == handler)
            return b;
    }
    qFatal("quick format handler missing from the table");
}

void apply(frmMain &w, Handler handler)
{
    const Button &b = lookup(handler);
    frmDocument *doc = w.activeDocument();
    if (!doc)
        return;
    doc->rtfText->set(QLatin1String(b.property), b.value);
}

} // namespace quickformat

void frmMain::Command2_Click() { quickformat::apply(*this, &frmMain::Command2_Click); }
void frmMain::Command3_Click() { quickformat::apply(*this, &frmMain::Command3_Click); }
void frmMain::Command4_Click() { quickformat::apply(*this, &frmMain::Command4_Click); }
void frmMain::Command5_Click() { quickformat::apply(*this, &frmMain::Command5_Click); }
void frmMain::Command6_Click() { quickformat::apply(*this, &frmMain::Command6_Click); }
void frmMain::Command7_Click() { quickformat::apply(*this, &frmMain::Command7_Click); }
void frmMain::Command8_Click() { quickformat::apply(*this, &frmMain::Command8_Click); }
void frmMain::Command9_Click() { quickformat::apply(*this, &frmMain::Command9_Click); }
void frmMain::Command10_Click() { quickformat::apply(*this, &frmMain::Command10_Click); }
void frmMain::Command11_Click() { quickformat::apply(*this, &frmMain::Command11_Click); }
void frmMain::Command12_Click() { quickformat::apply(*this, &frmMain::Command12_Click); }
void frmMain::Command13_Click() { quickformat::apply(*this, &frmMain::Command13_Click); }
