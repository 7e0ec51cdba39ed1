#include "AppHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FileSystem.h"
#include "SystemTables.h"

QString AppHome::resolve(const QString& explicitHome) {
    if (!explicitHome.isEmpty()) return QDir(explicitHome).absolutePath();
    const QString env = qEnvironmentVariable("QUILLORY_HOME");
    if (!env.isEmpty()) return QDir(env).absolutePath();
    return QDir::homePath() + "/.local/share/quillory";
}

bool AppHome::ensureExists(QString* error) const {
    // A home without its sysdata folder is new; an existing home whose shipped tables
    // were removed keeps its gap, so that the windows that need them say so.
    const bool isNew = !QFileInfo(sysDataDir()).isDir();
    for (const QString& dir : {root_, dataDir(), sysDataDir()}) {
        if (!QDir().mkpath(dir)) {
            *error = "Cannot create the folder " + dir;
            return false;
        }
    }
    return !isNew || SystemTables::seedShippedTables(*this, error);
}

QString AppHome::existingFile(const QString& relative) const {
    const std::string found = xbase::findFileIgnoringCase(QFile::encodeName(file(relative)).toStdString());
    return QFile::decodeName(found.c_str());
}
