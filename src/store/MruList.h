#pragma once

#include <QString>
#include <QStringList>

class Settings;

// The most-recently-used address files of the File menu, newest first, kept in the
// settings section "MRU". Paths are compared exactly: two paths that differ only in
// letter case are two entries.
class MruList {
public:
    static constexpr int kMaxEntries = 4;

    // The stored entries in order, empty ones left out.
    static QStringList GetMRUList(const Settings& settings);

    // `entries` after opening `path`: the path first, then the other entries in their
    // order, each once, at most kMaxEntries in all.
    static QStringList updated(const QStringList& entries, const QString& path);

    // After each successful open: stores updated(GetMRUList(), path) and returns it for
    // the menu. A path that the settings file could not give back as it is (see
    // canRemember) is not remembered, and the stored list is returned unchanged.
    static QStringList UpdateMRUList(Settings& settings, const QString& path);

    // Whether `path` reads back from the settings file unchanged: not empty, no line
    // break, not longer than a value the file gives back (IniFile::kMaxValueLength).
    static bool canRemember(const QString& path);
};
