// The text files a user may be given or may have edited: the settings file (INI) and a
// saved filter (.FLT). The first byte picks which.

#include <QByteArray>
#include <QString>

#include "FilterCriteria.h"
#include "FilterFile.h"
#include "FuzzFiles.h"
#include "IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    if (data[0] & 1) {
        const IniFile ini = IniFile::parse(QByteArray(reinterpret_cast<const char*>(data + 1), int(size - 1)));
        (void)ini.value(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"));
        (void)ini.value(QStringLiteral("MRU"), QStringLiteral("Item1"));
    } else {
        const std::string path = fuzz::WriteFile("f.FLT", data + 1, size - 1);
        FilterCriteria criteria;
        QString message;
        (void)FilterFile::RestoreFilterFrom(QString::fromStdString(path), &criteria, &message);
    }
    return 0;
}
