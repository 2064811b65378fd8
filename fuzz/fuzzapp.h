#pragma once

#include <QGuiApplication>
#include <cstdlib>

// The codec measures text with fonts, which needs a GUI application; one is made on the
// first input and kept for the whole run.
inline void ensureFuzzApp()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}
