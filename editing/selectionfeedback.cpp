#include "frmdocument.h"
#include "frmmain.h"
#include "module1.h"
#include "richtextbox.h"
#include "toolbar.h"

namespace {

bool isTrue(const QVariant &v) { return v.isValid() && v.toBool(); }

bool isAlignment(const QVariant &v, int alignment)
{
    return v.isValid() && v.toInt() == alignment;
}

// A document window can exist before the main window is published (or, in tests and
// benchmarks, without one); then there is no toolbar to update.
void press(const char *key, bool down)
{
    if (!mainForm || !mainForm->tbToolBar)
        return;
    if (ToolbarButton *button = mainForm->tbToolBar->Buttons(QLatin1String(key)))
        button->setValue(down ? 1 : 0);
}

} // namespace

// Each row reads its property afresh from this window's own control: the toolbar shows
// the most recent selection change, whichever window raised it.
void frmDocument::rtfText_SelChange()
{
    const QString alignment = QStringLiteral("SelAlignment");
    press("Negrita", isTrue(rtfText->get(QStringLiteral("SelBold"))));
    press("Cursiva", isTrue(rtfText->get(QStringLiteral("SelItalic"))));
    press("Subrayado", isTrue(rtfText->get(QStringLiteral("SelUnderline"))));
    press("Alinear a la izquierda", isAlignment(rtfText->get(alignment), 0));
    press("Centrar", isAlignment(rtfText->get(alignment), 2));
    press("Alinear a la derecha", isAlignment(rtfText->get(alignment), 1));
}
