#include "Settings.h"

#include <QDir>
#include <QFileInfo>

#include "AppHome.h"
#include "IniFile.h"

namespace {

constexpr char kIniFileName[] = "QUILLO.ini";

// The file as it is now; a missing or unreadable file reads as an empty one, so that
// every key gives its default.
IniFile current(const QString& path) {
    IniFile file;
    (void)file.load(path);
    return file;
}

}  // namespace

QString Settings::GetIniFileName(const AppHome& home) {
    return home.existingFile(kIniFileName);
}

bool Settings::value(const BoolKey& key, bool fallback) const {
    return current(path_).readBool(key.section, key.name, fallback);
}

int Settings::value(const IntKey& key, int fallback) const {
    return current(path_).readInt(key.section, key.name, fallback);
}

QString Settings::value(const TextKey& key, const QString& fallback) const {
    const QString text = current(path_).readString(key.section, key.name, QString());
    return text.isEmpty() ? fallback : text;
}

bool Settings::write(const std::vector<Entry>& entries, QString* error) {
    IniFile file;
    if (!file.load(path_, error)) return false;
    for (const Entry& entry : entries) {
        if (!file.setValue(entry.section, entry.name, entry.text)) {
            if (error) *error = "Cannot store the value of " + entry.section + "/" + entry.name;
            return false;
        }
    }
    return file.save(path_, error);
}
