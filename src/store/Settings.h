#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "SettingKey.h"

class AppHome;

// The program's settings file, QUILLO.ini in the application home. Every read opens
// the file, reads it and closes it again, so a value is never older than the file;
// every write reads the file afresh, changes the values and writes it back safely
// (IniFile::save). Nothing is cached.
//
// The keys are the typed constants of SettingKeys.h. A value that is missing or cannot
// be read as its type gives the key's default, or the fallback the caller passes for
// keys whose default is known only at run time (the current printer, whether a window
// is maximised now). A text that is empty in the file counts as missing.
class Settings {
public:
    // GetIniFileName(home) is the usual path.
    explicit Settings(QString iniPath) : path_(std::move(iniPath)) {}

    // The settings file of `home`. An existing file whose name differs from
    // "QUILLO.ini" only in letter case is used as it is; otherwise "QUILLO.ini".
    static QString GetIniFileName(const AppHome& home);

    const QString& path() const { return path_; }

    bool value(const BoolKey& key) const { return value(key, key.defaultValue); }
    int value(const IntKey& key) const { return value(key, key.defaultValue); }
    QString value(const TextKey& key) const { return value(key, key.defaultValue); }
    bool value(const BoolKey& key, bool fallback) const;
    int value(const IntKey& key, int fallback) const;
    QString value(const TextKey& key, const QString& fallback) const;

    // One value to write, as the file stores it: booleans 1 or 0, integers in decimal.
    struct Entry {
        Entry(const BoolKey& key, bool v) : section(key.section), name(key.name), text(v ? "1" : "0") {}
        Entry(const IntKey& key, int v) : section(key.section), name(key.name), text(QString::number(v)) {}
        Entry(const TextKey& key, const QString& v) : section(key.section), name(key.name), text(v) {}
        QString section;
        QString name;
        QString text;
    };

    // Writes all `entries` in one rewrite of the file, or none of them. False with
    // `error` set when the file exists but cannot be read (it is then left alone), when
    // it cannot be written, or when a text holds a line break.
    [[nodiscard]] bool write(const std::vector<Entry>& entries, QString* error = nullptr);

    [[nodiscard]] bool setValue(const BoolKey& key, bool v) { return write({{key, v}}); }
    [[nodiscard]] bool setValue(const IntKey& key, int v) { return write({{key, v}}); }
    [[nodiscard]] bool setValue(const TextKey& key, const QString& v) { return write({{key, v}}); }

private:
    QString path_;
};
