// A table and its memo file as a user may be given them: open, walk every record,
// read every field and memo.

#include <algorithm>
#include <memory>

#include "FuzzFiles.h"
#include "Table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t *dbf, *memo;
    size_t dbfSize, memoSize;
    fuzz::Split(data, size, &dbf, &dbfSize, &memo, &memoSize);
    const std::string path = fuzz::WriteFile("t.DBF", dbf, dbfSize);
    fuzz::WriteFile("t.FPT", memo, memoSize);
    fuzz::WriteFile("t.DBT", memo, memoSize);
    std::unique_ptr<xbase::Table> table;
    if (!xbase::Table::open(path, xbase::OpenMode::ReadOnlyShared, &table).ok()) return 0;
    const uint32_t records = std::min<uint32_t>(table->recCount(), 2000);
    for (uint32_t r = 1; r <= records; ++r) {
        if (!table->go(r).ok()) break;
        for (int f = 0; f < table->fieldCount(); ++f) {
            (void)table->getTrimString(f);
            std::string text;
            if (table->field(f).isMemo()) (void)table->getMemo(f, &text);
        }
    }
    // Natural order walk, as the commands do.
    int steps = 0;
    for (xbase::Status s = table->goTop(); s.ok() && !table->eof() && steps < 4000; ++steps) s = table->skip(1);
    return 0;
}
