#pragma once

#include <QApplication>

// The application object that fonts, printers and windows need; made once for the whole
// test program, on the platform the test command chose (offscreen).
inline void ensureGuiApp() {
    static int argc = 1;
    static char name[] = "quillory-tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
}
