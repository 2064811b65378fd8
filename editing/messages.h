#pragma once

#include <QList>
#include <QString>

class QWidget;

// Message boxes of the editing commands go through here so tests can record them
// instead of waiting on a modal box.
namespace messages {

struct Shown
{
    QString kind;      // "information" or "warning"
    QString title;
    QString text;
};

// Modal information box with one OK button; returns when it is closed.
void showInformation(QWidget *parent, const QString &title, const QString &text);
// Modal warning box with one OK button.
void showWarning(QWidget *parent, const QString &title, const QString &text);

// While a recorder is installed, boxes are appended to it and not shown.
void setRecorder(QList<Shown> *recorder);

} // namespace messages
