#include "frmdocument.h"
#include "frmmain.h"
#include "failures.h"
#include "richtextbox.h"
#include "toolbar.h"

#include <functional>

namespace {

// The active document's control; throws when no document is open so that the
// step calling it is skipped like any other failed step.
RichTextBox &activeText(const frmMain &w)
{
    frmDocument *doc = w.activeDocument();
    if (!doc || !doc->rtfText)
        throw RuntimeFailure(91, QStringLiteral("No hay ningún documento abierto."));
    return *doc->rtfText;
}

// A mixed value stays mixed when negated; the control refuses it and the step fails.
QVariant negated(const QVariant &v)
{
    if (!v.isValid())
        return QVariant();
    return QVariant(!v.toBool());
}

void toggle(frmMain &w, ToolbarButton *button, const QString &property)
{
    ignoreFailure([&] {
        RichTextBox &text = activeText(w);
        text.set(property, negated(text.get(property)));
    });
    ignoreFailure([&] {
        const QVariant now = activeText(w).get(property);
        button->setValue(now.isValid() && now.toBool() ? 1 : 0);
    });
}

void align(frmMain &w, int alignment)
{
    ignoreFailure([&] { activeText(w).set(QStringLiteral("SelAlignment"), qint32(alignment)); });
}

} // namespace

void frmMain::tbToolBar_ButtonClick(ToolbarButton *button)
{
    QString key;
    ignoreFailure([&] { key = button->Key(); });
    using Action = std::function<void()>;
    const std::pair<const char *, Action> actions[] = {
        {"Nuevo", [this] { CreateDocumentWindow(); }},
        {"Abrir", [this] { mnuFileOpen_Click(); }},
        {"Guardar", [this] { mnuFileSave_Click(); }},
        {"Imprimir", [this] { mnuFilePrint_Click(); }},
        {"Cortar", [this] { mnuEditCut_Click(); }},
        {"Copiar", [this] { mnuEditCopy_Click(); }},
        {"Pegar", [this] { mnuEditPaste_Click(); }},
        {"Negrita", [this, button] { toggle(*this, button, QStringLiteral("SelBold")); }},
        {"Cursiva", [this, button] { toggle(*this, button, QStringLiteral("SelItalic")); }},
        {"Subrayado", [this, button] { toggle(*this, button, QStringLiteral("SelUnderline")); }},
        {"Alinear a la izquierda", [this] { align(*this, 0); }},
        {"Centrar", [this] { align(*this, 2); }},
        {"Alinear a la derecha", [this] { align(*this, 1); }},
    };
    for (const auto &[name, action] : actions) {
        if (key != QLatin1String(name))
            continue;
        // A failed save must not pass for a saved file: its failure goes on to be
        // reported. Every other button's failure is swallowed.
        if (key == QLatin1String("Guardar"))
            action();
        else
            ignoreFailure(action);
        return;
    }
}
