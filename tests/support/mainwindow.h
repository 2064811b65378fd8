#pragma once

// An isolated settings store, and the main window made as the editor makes it (mainForm set
// before it is shown, so selection feedback reaches its toolbar), closed again by the test.

#include "frmdocument.h"
#include "frmmain.h"
#include "mainform.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace shelltest {

// The user-scope INI store, pointed by isolateSettings() at a private directory.
inline QTemporaryDir &settingsDir()
{
    static QTemporaryDir dir;
    return dir;
}
inline void isolateSettings() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir().path()); }
inline QString settingsFile() { return settingsDir().path() + QStringLiteral("/Riruzo Deror/Riruzo Deror.ini"); }
inline QSettings store() { return QSettings(settingsFile(), QSettings::IniFormat); }
inline void clearSettings() { QFile::remove(settingsFile()); }

inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

struct WindowCloser
{
    void operator()(frmMain *w) const
    {
        if (w->isVisible())
            w->close();
        if (mainForm == w)
            mainForm = nullptr;
        delete w;
        flushDeletes();
    }
};
using MainWindow = std::unique_ptr<frmMain, WindowCloser>;

inline MainWindow mainWindow()
{
    MainWindow w(new frmMain);
    mainForm = w.get();
    return w;
}

inline MainWindow shownMainWindow()
{
    MainWindow w = mainWindow();
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        qWarning("main window not exposed");
    return w;
}

// The main window as a first run shows it (no settings), active so that keys reach it.
inline MainWindow activeFirstRunWindow()
{
    clearSettings();
    MainWindow w = shownMainWindow();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("main window not active");
    return w;
}

} // namespace shelltest
