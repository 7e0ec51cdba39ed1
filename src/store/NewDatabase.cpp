#include "NewDatabase.h"

#include <QFile>
#include <QFileInfo>

#include "AppHome.h"
#include "FileSystem.h"

namespace NewDatabase {

QString PathFor(const AppHome& home, const QString& name) {
    return home.existingFile("DATA/" + name + ".DBF");
}

QString ProposeName(const AppHome& home) {
    for (int n = 1; n <= 9999; ++n) {
        const QString name = QString("ADD%1").arg(n, 4, 10, QChar('0'));
        if (!QFileInfo::exists(PathFor(home, name))) return name;
    }
    return "ADD0001";
}

bool IsValidName(const QString& name) {
    if (name.isEmpty()) return false;
    auto letter = [](QChar c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    for (QChar c : name) {
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    }
    return true;
}

bool CheckNewPath(const QString& path, QString* message) {
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("DBF"), Qt::CaseInsensitive) != 0) {
        *message = kNotDbfText;
        return false;
    }
    if (!IsValidName(info.completeBaseName())) {
        *message = kInvalidNameText;
        return false;
    }
    const std::string found = xbase::findFileIgnoringCase(QFile::encodeName(path).toStdString());
    if (QFileInfo::exists(path) || QFileInfo::exists(QFile::decodeName(found.c_str()))) {
        *message = kExistsText;
        return false;
    }
    return true;
}

int AcceptWidth(const QString& text, int previous) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= kMinWidth && value <= kMaxWidth ? value : previous;
}

}  // namespace NewDatabase
