#pragma once

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <string>

#include "AddressFile.h"
#include "Messages.h"
#include "Table.h"

// What the print benchmarks share: a message route that answers nothing, the peak
// memory, and an empty address file to fill.
namespace bench {

class SilentMessages : public Messages {
  public:
    void inform(const QString&, const QString&) override {}
    void warn(const QString&, const QString&) override {}
    void error(const QString&, const QString&) override {}
    bool ask(const QString&, const QString&, Preset) override { return true; }
};

// The peak resident memory of the process so far.
inline double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

// A new address file at `path` with the program's fields and no index, open
// exclusively; null when it cannot be made.
inline std::unique_ptr<xbase::Table> createAddressTable(const std::string& path) {
    xbase::TableSpec design;
    for (const AddressFile::Field& f : AddressFile::fields())
        design.fields.push_back(xbase::FieldDef{f.name, f.type, uint16_t(f.width), 0});
    std::remove(path.c_str());
    std::unique_ptr<xbase::Table> t;
    if (!xbase::Table::create(path, design).ok() || !xbase::Table::open(path, xbase::OpenMode::Exclusive, &t).ok())
        return nullptr;
    return t;
}

}  // namespace bench
