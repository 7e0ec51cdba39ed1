#include "AppHome.h"

#include <sys/stat.h>

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
    // Address files are personal data: the folders made here are their owner's alone
    // (folders above the home keep what the umask gives; existing folders keep theirs).
    for (const QString& dir : {root_, dataDir(), sysDataDir()}) {
        if (QFileInfo(dir).isDir()) continue;
        const QByteArray local = QFile::encodeName(dir);
        if (!QDir().mkpath(QFileInfo(dir).absolutePath()) ||
            (::mkdir(local.constData(), 0700) != 0 && !QFileInfo(dir).isDir()) ||
            ::chmod(local.constData(), 0700) != 0) {
            *error = "Cannot create the folder " + dir;
            return false;
        }
    }
    // What the program makes in the home is 0600 (the engine's files directly, other
    // writers through xbase::NewFileMode).
    xbase::setPrivateFolder(QFile::encodeName(root_).toStdString());
    return !isNew || SystemTables::seedShippedTables(*this, error);
}

QString AppHome::existingFile(const QString& relative) const {
    const std::string found = xbase::findFileIgnoringCase(QFile::encodeName(file(relative)).toStdString());
    return QFile::decodeName(found.c_str());
}
