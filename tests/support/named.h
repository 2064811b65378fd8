#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A part of a window (widget, action, dialog control, toolbar button) found by its object
// name; the test program stops with a message when there is none.
template <typename T>
T *named(const QObject &owner, const QString &name)
{
    T *found = owner.findChild<T *>(name);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}
