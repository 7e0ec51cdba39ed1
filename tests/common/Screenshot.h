#pragma once

#include <QString>
#include <QWidget>

// With QUILLORY_SCREENSHOTS set to a folder, window tests save the windows there as they
// are seen (run under a real display to look at them).
inline void screenshot(QWidget* w, const QString& name) {
    const QString folder = qEnvironmentVariable("QUILLORY_SCREENSHOTS");
    if (!folder.isEmpty()) w->grab().save(folder + "/" + name + ".png");
}
