#pragma once

// The application object that fonts, printers and windows need; made once for the whole
// test program, on the platform the test command chose (offscreen): a QApplication in
// a test program that links the widgets, else a QGuiApplication.
#ifdef QT_WIDGETS_LIB
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

inline void ensureGuiApp() {
    static int argc = 1;
    static char name[] = "quillory-tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new TestApplication(argc, argv);
}
