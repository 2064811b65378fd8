#include "toolbar.h"

#include <QAccessibleWidget>
#include <QToolButton>

namespace {

// Qt's own interface offers a checkable tool button's "Toggle", which flips its look
// without a click reaching the toolbar, so the command never runs.
class ToolbarButtonAccessible : public QAccessibleWidget
{
public:
    explicit ToolbarButtonAccessible(QToolButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return button()->text();
        if (t == QAccessible::Description || t == QAccessible::Help)
            return button()->toolTip();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = button()->isCheckable();
        s.checked = button()->isChecked();
        s.pressed = button()->isDown();
        return s;
    }

    QStringList actionNames() const override
    {
        return button()->isEnabled() ? QStringList{pressAction()} : QStringList();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && button()->isEnabled())
            button()->click();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QToolButton *button() const { return static_cast<QToolButton *>(object()); }
};

QAccessibleInterface *toolbarButtonInterface(const QString &, QObject *object)
{
    auto *button = qobject_cast<QToolButton *>(object);
    if (button && button->defaultAction() && qobject_cast<Toolbar *>(button->parentWidget()))
        return new ToolbarButtonAccessible(button);
    return nullptr;
}

} // namespace

void installToolbarAccessibility()
{
    // Qt installs a factory once, however often it is asked to.
    QAccessible::installFactory(toolbarButtonInterface);
}
