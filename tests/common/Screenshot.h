#pragma once

#include <QGuiApplication>
#include <QProcess>
#include <QString>
#include <QTest>
#include <QWidget>

// With QUILLORY_SCREENSHOTS set to a folder, window tests save the windows there as they
// are seen (run under a real display to look at them): the window's own picture, and on
// an X display the whole screen as ImageMagick's `import -window root` takes it, so the
// window is seen with its frame and anything it opened above it.
inline void screenshot(QWidget* w, const QString& name) {
    const QString folder = qEnvironmentVariable("QUILLORY_SCREENSHOTS");
    if (folder.isEmpty()) return;
    w->grab().save(folder + "/" + name + ".png");
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        w->raise();
        w->activateWindow();
        QTest::qWait(200);  // let the window manager and the server draw it
        QProcess::execute("import", {"-window", "root", folder + "/" + name + "-screen.png"});
    }
}
