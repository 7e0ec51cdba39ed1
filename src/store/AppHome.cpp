#include "AppHome.h"

#include <QDir>

QString AppHome::resolve(const QString& explicitHome) {
    if (!explicitHome.isEmpty()) return QDir(explicitHome).absolutePath();
    const QString env = qEnvironmentVariable("QUILLORY_HOME");
    if (!env.isEmpty()) return QDir(env).absolutePath();
    return QDir::homePath() + "/.local/share/quillory";
}

bool AppHome::ensureExists(QString* error) const {
    for (const QString& dir : {root_, dataDir(), sysDataDir()}) {
        if (!QDir().mkpath(dir)) {
            *error = "Cannot create the folder " + dir;
            return false;
        }
    }
    return true;
}
