#include "MruList.h"

#include <vector>

#include "IniFile.h"
#include "SettingKeys.h"
#include "Settings.h"

static_assert(MruList::kMaxEntries == int(setting::kMruItems.size()));

QStringList MruList::GetMRUList(const Settings& settings) {
    QStringList entries;
    for (const TextKey& key : setting::kMruItems) {
        const QString path = settings.value(key);
        if (!path.isEmpty()) entries.append(path);
    }
    return entries;
}

QStringList MruList::updated(const QStringList& entries, const QString& path) {
    QStringList list{path};
    for (const QString& entry : entries) {
        if (list.size() == kMaxEntries) break;
        if (!list.contains(entry, Qt::CaseSensitive)) list.append(entry);
    }
    return list;
}

QStringList MruList::UpdateMRUList(Settings& settings, const QString& path) {
    const QStringList old = GetMRUList(settings);
    if (!canRemember(path)) return old;
    const QStringList list = updated(old, path);
    std::vector<Settings::Entry> entries;
    for (int i = 0; i < kMaxEntries; ++i) {
        // Unused slots are emptied, so that no stale entry reappears.
        entries.emplace_back(setting::kMruItems[size_t(i)], i < list.size() ? list[i] : QString());
    }
    // The menu shows the list even when the settings file cannot be written.
    (void)settings.write(entries);
    return list;
}

bool MruList::canRemember(const QString& path) {
    return !path.isEmpty() && path.size() <= IniFile::kMaxValueLength && !path.contains(u'\n') &&
           !path.contains(u'\r') && !path.contains(QChar(0));
}
