#pragma once

#include <QList>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QToolBar>

class QAction;
class QActionGroup;

// A button of the main toolbar: a key, a picture and a pressed state. Plain buttons
// never stay down by themselves; their Value changes only when the program sets it.
// Button-group buttons form one exclusive group.
class ToolbarButton : public QObject
{
    Q_OBJECT
public:
    enum Style { Plain = 0, ButtonGroup = 2, Separator = 3 };

    ToolbarButton(const QString &key, Style style, QAction *action, QObject *parent);

    QString Key() const { return key_; }
    Style style() const { return style_; }
    int Value() const;            // 1 pressed, 0 released
    void setValue(int value);
    QAction *action() const { return action_; }

private:
    QString key_;
    Style style_;
    QAction *action_;
    int value_ = 0;               // what a plain button shows; clicks do not change it
};

// The main toolbar: buttons looked up by key; every click reaches ButtonClick.
class Toolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit Toolbar(QWidget *parent = nullptr);

    // Adds a button; an empty key with style Separator adds a separator.
    ToolbarButton *addButton(const QString &key, const QPixmap &picture, ToolbarButton::Style style);
    ToolbarButton *Buttons(const QString &key) const;    // nullptr when no button has it
    QList<ToolbarButton *> buttonList() const { return buttons_; }

signals:
    void ButtonClick(ToolbarButton *button);

private:
    QList<ToolbarButton *> buttons_;
    QMap<QString, ToolbarButton *> byKey_;
    QActionGroup *group_ = nullptr;
};

// The toolbar's pictures, by key, in the order they were added.
class ImageList : public QObject
{
    Q_OBJECT
public:
    explicit ImageList(QObject *parent = nullptr) : QObject(parent) {}
    void add(const QString &key, const QPixmap &picture);
    QPixmap picture(const QString &key) const { return pictures_.value(key); }
    QStringList keys() const { return order_; }

private:
    QMap<QString, QPixmap> pictures_;
    QStringList order_;
};

// Makes assistive technology see each toolbar button as a button whose one action,
// "Press", is a click: it runs the button's command, and the pressed state changes only as
// a click changes it. Installed once, by the first toolbar.
void installToolbarAccessibility();

// Fills the list with the thirteen toolbar pictures, light grey made transparent.
void loadToolbarPictures(ImageList *list);
