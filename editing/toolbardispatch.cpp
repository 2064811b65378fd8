#include "toolbardispatch.h"

#include "failures.h"
#include "richtextbox.h"
#include "toolbar.h"

namespace {

// A mixed value stays mixed when negated; the control refuses it and the step fails.
QVariant negated(const QVariant &v)
{
    if (!v.isValid())
        return QVariant();
    return QVariant(!v.toBool());
}

void toggle(const ActiveDocument &active, ToolbarButton *button, const QString &property)
{
    ignoreFailure([&] {
        RichTextBox &text = activeText(active);
        text.set(property, negated(text.get(property)));
    });
    ignoreFailure([&] {
        const QVariant now = activeText(active).get(property);
        button->setValue(now.isValid() && now.toBool() ? 1 : 0);
    });
}

void align(const ActiveDocument &active, int alignment)
{
    ignoreFailure([&] { activeText(active).set(QStringLiteral("SelAlignment"), qint32(alignment)); });
}

} // namespace

namespace toolbardispatch {

void buttonClick(ToolbarButton *button, const ActiveDocument &active, const MenuHandlers &menu)
{
    QString key;
    ignoreFailure([&] { key = button->Key(); });
    using Action = std::function<void()>;
    const std::pair<const char *, Action> actions[] = {
        {"Nuevo", menu.newDocument},
        {"Abrir", menu.open},
        {"Guardar", menu.save},
        {"Imprimir", menu.print},
        {"Cortar", menu.cut},
        {"Copiar", menu.copy},
        {"Pegar", menu.paste},
        {"Negrita", [&] { toggle(active, button, QStringLiteral("SelBold")); }},
        {"Cursiva", [&] { toggle(active, button, QStringLiteral("SelItalic")); }},
        {"Subrayado", [&] { toggle(active, button, QStringLiteral("SelUnderline")); }},
        {"Alinear a la izquierda", [&] { align(active, 0); }},
        {"Centrar", [&] { align(active, 2); }},
        {"Alinear a la derecha", [&] { align(active, 1); }},
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

} // namespace toolbardispatch
