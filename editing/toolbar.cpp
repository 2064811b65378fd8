#include "toolbar.h"

#include <QAction>
#include <QActionGroup>
#include <QBitmap>
#include <QImage>
#include <QToolButton>

ToolbarButton::ToolbarButton(const QString &key, Style style, QAction *action, QObject *parent)
    : QObject(parent), key_(key), style_(style), action_(action)
{
    setObjectName(key);
}

int ToolbarButton::Value() const
{
    if (style_ == Plain)
        return value_;
    return action_ && action_->isChecked() ? 1 : 0;
}

void ToolbarButton::setValue(int value)
{
    value_ = value ? 1 : 0;
    if (!action_)
        return;
    // A plain button shows a pressed state once the program drives it; before that it is
    // a plain command button, to the user and to assistive technology alike.
    action_->setCheckable(true);
    action_->setChecked(value_ == 1);
}

Toolbar::Toolbar(QWidget *parent) : QToolBar(parent)
{
    installToolbarAccessibility();
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    group_ = new QActionGroup(this);
    group_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
}

ToolbarButton *Toolbar::addButton(const QString &key, const QPixmap &picture,
                                  ToolbarButton::Style style)
{
    if (style == ToolbarButton::Separator) {
        addSeparator();
        return nullptr;
    }
    QAction *action = addAction(QIcon(picture), key);
    action->setObjectName(key);
    action->setToolTip(key);
    action->setCheckable(style == ToolbarButton::ButtonGroup);
    if (QWidget *button = widgetForAction(action))
        button->setFixedSize(23, 22);
    auto *button = new ToolbarButton(key, style, action, this);
    if (style == ToolbarButton::ButtonGroup)
        group_->addAction(action);
    connect(action, &QAction::triggered, this, [this, button, action] {
        // The click has toggled the action; a plain button shows only what the program set.
        if (button->style() == ToolbarButton::Plain)
            action->setChecked(button->Value() == 1);
        emit ButtonClick(button);
    });
    buttons_.append(button);
    byKey_.insert(key, button);
    return button;
}

ToolbarButton *Toolbar::Buttons(const QString &key) const
{
    return byKey_.value(key, nullptr);
}

void ImageList::add(const QString &key, const QPixmap &picture)
{
    if (!pictures_.contains(key))
        order_.append(key);
    pictures_.insert(key, picture);
}

void loadToolbarPictures(ImageList *list)
{
    static const struct { const char *key; const char *file; } pictures[] = {
        {"New", "new"}, {"Open", "open"}, {"Save", "save"}, {"Print", "print"},
        {"Cut", "cut"}, {"Copy", "copy"}, {"Paste", "paste"}, {"Bold", "bold"},
        {"Italic", "italic"}, {"Underline", "underline"}, {"Align Left", "alignleft"},
        {"Center", "center"}, {"Align Right", "alignright"},
    };
    for (const auto &p : pictures) {
        QPixmap picture(QStringLiteral(":/toolbar/%1.xpm").arg(QLatin1String(p.file)));
        if (!picture.isNull())
            picture.setMask(picture.createMaskFromColor(QColor(192, 192, 192)));
        list->add(QString::fromLatin1(p.key), picture);
    }
}
