// A structural index beside a sound table: open it, walk every tag both ways and seek,
// as ordered dumps, searches and the browse do.

#include <memory>

#include "FuzzFiles.h"
#include "Table.h"

namespace {

// A table of 40 records with a structural index marked in its header; its own index
// is made once and then replaced by each input.
const std::string& Table() {
    static const std::string path = [] {
        const std::string p = fuzz::PathOf("people.DBF");
        xbase::TableSpec design;
        design.fields = {{"LNAME", 'C', 12}, {"ZIP", 'C', 10}, {"N", 'N', 6}};
        std::unique_ptr<xbase::Table> t;
        if (xbase::Table::create(p, design).ok() && xbase::Table::open(p, xbase::OpenMode::Exclusive, &t).ok()) {
            for (int i = 0; i < 40; ++i) {
                (void)t->appendBlank();
                (void)t->replace(0, "Name" + std::to_string(i * 7 % 40));
                (void)t->replace(1, std::to_string(10000 + i * 13 % 40));
                (void)t->replace(2, std::to_string(i));
            }
            (void)t->indexTag("LNAME", "UPPER(LNAME)");
            (void)t->indexTag("ZIP", "ZIP");
            (void)t->close();
        }
        return p;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = Table();
    fuzz::WriteFile("people.CDX", data, size);
    std::unique_ptr<xbase::Table> table;
    if (!xbase::Table::open(path, xbase::OpenMode::ReadOnlyShared, &table).ok()) return 0;
    for (int order = 1; order <= table->orderCount(); ++order) {
        if (!table->setOrder(order).ok()) continue;
        int steps = 0;
        for (xbase::Status s = table->goTop(); s.ok() && !table->eof() && steps < 500; ++steps) s = table->skip(1);
        steps = 0;
        for (xbase::Status s = table->goBottom(); s.ok() && !table->bof() && steps < 500; ++steps) s = table->skip(-1);
        bool found = false;
        (void)table->seek("NAME1", &found);
        (void)table->seek("1", &found);
    }
    return 0;
}
