// Writes that fail part way (a full disk, an I/O error) must be reported, and must
// leave a table that opens with every record it held before: each operation below is
// run once for every write it makes, with that write failing.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <random>

#include "FaultInjectionFileSystem.h"
#include "Table.h"
#include "TempDir.h"

using namespace xbase;

namespace {

constexpr int kName = 0, kCity = 1, kNotes = 2;
constexpr uint32_t kRecords = 40;

// What a record holds, as a fresh open reads it.
struct Row {
    std::string name, city, notes;
    bool deleted = false;
    bool operator==(const Row& o) const {
        return name == o.name && city == o.city && notes == o.notes && deleted == o.deleted;
    }
};
using Rows = std::vector<Row>;

std::string randomText(std::mt19937& rng, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += char('A' + rng() % 26);
    return s;
}

// The starting table, built once: 40 records with memos, records 2, 5 and 7 marked
// deleted, and a structural index whose CITY tag has keys so long (and so little alike)
// that its leaves hold a handful each, so that inserts split them.
class Template {
  public:
    static const Template& get() {
        static const Template t;
        return t;
    }
    const std::string& folder() const { return dir_.path(); }
    const Rows& rows() const { return rows_; }

  private:
    Template() {
        TableSpec design;
        design.fields = {{"NAME", 'C', 10}, {"CITY", 'C', 60}, {"NOTES", 'M', 10}};
        const std::string path = dir_.file("t.dbf");
        EXPECT_TRUE(Table::create(path, design).ok());
        std::unique_ptr<Table> t;
        EXPECT_TRUE(Table::open(path, OpenMode::Exclusive, &t).ok());
        EXPECT_TRUE(t->indexTag("NAME", "UPPER(NAME)").ok());
        EXPECT_TRUE(t->indexTag("CITY", "CITY", "!DELETED()").ok());
        std::mt19937 rng(7);
        for (uint32_t r = 1; r <= kRecords; ++r) {
            Row row{"N" + std::to_string(r), randomText(rng, 60),
                    r % 3 ? "notes of " + std::to_string(r) : ""};
            row.deleted = r == 2 || r == 5 || r == 7;
            EXPECT_TRUE(t->appendBlank().ok());
            EXPECT_TRUE(t->replace(kName, row.name).ok());
            EXPECT_TRUE(t->replace(kCity, row.city).ok());
            EXPECT_TRUE(t->replace(kNotes, row.notes).ok());
            if (row.deleted) {
                EXPECT_TRUE(t->deleteRecord().ok());
            }
            EXPECT_TRUE(t->commit().ok());
            rows_.push_back(row);
        }
        EXPECT_TRUE(t->close().ok());
    }

    TempDir dir_;
    Rows rows_;
};

// One operation and the records it should leave behind when it succeeds.
struct Operation {
    const char* name;
    std::function<Status(Table&)> run;
    std::function<Rows(Rows)> expected;
    bool atomic = false;  // the table holds the old records or the new ones, never a mix
};

Status all(std::initializer_list<std::function<Status()>> steps) {
    for (const auto& step : steps) {
        Status s = step();
        if (!s.ok()) return s;
    }
    return Status::OK();
}

// Three records appended as one batch of record images, the second with a memo.
const Rows kBatch = {{"B1", "BATCHCITY", ""}, {"B2", "ZZZ", "batch memo"}, {"B3", "", ""}};

Status appendBatch(Table& t) {
    std::string images;
    for (const Row& row : kBatch) {
        std::string image = t.blankRecord();
        Status s = all({[&] { return t.putField(&image, kName, row.name); },
                        [&] { return t.putField(&image, kCity, row.city); },
                        [&] { return t.putField(&image, kNotes, row.notes); }});
        if (!s.ok()) return s;
        images += image;
    }
    return t.appendRecords(images);
}

Rows withBatch(Rows rows) {
    rows.insert(rows.end(), kBatch.begin(), kBatch.end());
    return rows;
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> ops = {
        {"append three",
         [](Table& t) {
             for (const char* city :
                  {"QWERTYUIOPASDFGHJKLZXCVBNMQWERTYUIOP", "MNBVCXZLKJHGFDSAPOIUYTREWQ", "A"}) {
                 Status s = all({[&] { return t.appendBlank(); }, [&] { return t.replace(kName, "NEW"); },
                                 [&] { return t.replace(kCity, city); }, [&] { return t.commit(); }});
                 if (!s.ok()) return s;
             }
             return Status::OK();
         },
         [](Rows rows) {
             for (const char* city :
                  {"QWERTYUIOPASDFGHJKLZXCVBNMQWERTYUIOP", "MNBVCXZLKJHGFDSAPOIUYTREWQ", "A"}) {
                 rows.push_back({"NEW", city, ""});
             }
             return rows;
         }},
        {"append a batch", [](Table& t) { return appendBatch(t); }, withBatch},
        {"append a batch without orders",
         [](Table& t) {
             const std::string cdx = t.indexName(1);
             return all({[&] { return t.closeIndexes(); }, [&] { return removeFile(cdx); },
                         [&] { return appendBatch(t); }});
         },
         withBatch},
        {"update keys",
         [](Table& t) {
             return all({[&] { return t.go(9); }, [&] { return t.replace(kName, "AAA"); },
                         [&] { return t.replace(kCity, "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ"); },
                         [&] { return t.commit(); }});
         },
         [](Rows rows) {
             rows[8].name = "AAA";
             rows[8].city = "ZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZZ";
             return rows;
         }},
        {"delete and recall",
         [](Table& t) {
             return all({[&] { return t.go(4); }, [&] { return t.deleteRecord(); }, [&] { return t.go(5); },
                         [&] { return t.recall(); }});
         },
         [](Rows rows) {
             rows[3].deleted = true;
             rows[4].deleted = false;
             return rows;
         }},
        {"memo moves",
         [](Table& t) {
             return all({[&] { return t.go(1); }, [&] { return t.replace(kNotes, std::string(300, 'm')); },
                         [&] { return t.commit(); }});
         },
         [](Rows rows) {
             rows[0].notes = std::string(300, 'm');
             return rows;
         }},
        {"last memo grows",
         [](Table& t) {
             return all({[&] { return t.go(kRecords); },
                         [&] { return t.replace(kNotes, std::string(500, 'g')); },
                         [&] { return t.commit(); }});
         },
         [](Rows rows) {
             rows.back().notes = std::string(500, 'g');
             return rows;
         }},
        {"pack", [](Table& t) { return t.pack(); },
         [](Rows rows) {
             rows.erase(std::remove_if(rows.begin(), rows.end(), [](const Row& r) { return r.deleted; }),
                        rows.end());
             return rows;
         },
         true},
        {"rebuild a tag", [](Table& t) { return t.indexTag("NAME", "UPPER(NAME)+CITY"); },
         [](Rows rows) { return rows; }, true},
        {"new index file",
         [](Table& t) {
             const std::string cdx = t.indexName(1);
             return all({[&] { return t.closeIndexes(); }, [&] { return removeFile(cdx); },
                         [&] { return t.indexTag("NAME", "UPPER(NAME)"); },
                         [&] { return t.indexTag("CITY", "CITY", "!DELETED()"); }});
         },
         [](Rows rows) { return rows; }, true},
    };
    return ops;
}

// A copy of the template table in its own folder.
class Copy {
  public:
    Copy() {
        for (const auto& e : std::filesystem::directory_iterator(Template::get().folder())) {
            std::filesystem::copy_file(e.path(), dir_.file(e.path().filename().string()));
        }
    }
    std::string path() const { return dir_.file("t.dbf"); }

  private:
    TempDir dir_;
};

// The records of the table at `path` opened afresh; fails the test when it does not
// open, or when its index claims to be sound and is not.
Rows readBack(const std::string& path) {
    std::unique_ptr<Table> t;
    Status s = Table::open(path, OpenMode::Exclusive, &t);
    EXPECT_TRUE(s.ok()) << s.toString();
    if (!s.ok()) return {};
    // A change that did not finish leaves the index marked as open for writing (or
    // not there at all); one that opens as sound must be sound.
    if (t->indexState() == IndexState::Ok) {
        s = t->verifyIndexes();
        EXPECT_TRUE(s.ok()) << s.toString();
    } else {
        EXPECT_TRUE(t->indexState() == IndexState::Damaged || t->indexState() == IndexState::Missing);
    }
    Rows rows;
    for (uint32_t r = 1; r <= t->recCount(); ++r) {
        EXPECT_TRUE(t->go(r).ok());
        Row row{t->getTrimString(kName), t->getTrimString(kCity), "", t->deleted()};
        s = t->getMemo(kNotes, &row.notes);
        EXPECT_TRUE(s.ok()) << "record " << r << ": " << s.toString();
        rows.push_back(row);
    }
    return rows;
}

// Records left by a failed operation: the old ones or the new ones, record by record
// (whole for an atomic operation); a record appended by it may also be blank.
::testing::AssertionResult nothingLost(const Rows& got, const Rows& before, const Rows& after, bool atomic) {
    if (got == before || got == after) return ::testing::AssertionSuccess();
    if (atomic) return ::testing::AssertionFailure() << "neither the old records nor the new ones";
    if (got.size() < std::min(before.size(), after.size()) ||
        got.size() > std::max(before.size(), after.size())) {
        return ::testing::AssertionFailure() << got.size() << " records";
    }
    for (size_t i = 0; i < got.size(); ++i) {
        const bool asBefore = i < before.size() && got[i] == before[i];
        const bool asAfter = i < after.size() && got[i] == after[i];
        const bool blankNew = i >= before.size() && got[i] == Row{};
        if (!asBefore && !asAfter && !blankNew) {
            return ::testing::AssertionFailure()
                   << "record " << i + 1 << " is \"" << got[i].name << "\" \"" << got[i].city << "\" \""
                   << got[i].notes.substr(0, 20) << "\"";
        }
    }
    return ::testing::AssertionSuccess();
}

struct Outcome {
    Status status;
    Rows rows;
};

// Runs `op` on a fresh copy with the failure `arm` sets up; the table is closed while
// the failure lasts (a full disk stays full until the program ends).
Outcome runWith(const Operation& op, const std::function<void(FaultInjectionFileSystem&)>& arm,
                uint64_t* writes = nullptr) {
    Copy copy;
    FaultInjectionFileSystem fs;
    Outcome out;
    {
        std::unique_ptr<Table> t;
        Status s = Table::open(copy.path(), OpenMode::Exclusive, &t, &fs);
        EXPECT_TRUE(s.ok()) << s.toString();
        if (!s.ok()) return out;
        const uint64_t start = fs.writeCount();
        arm(fs);
        out.status = op.run(*t);
        if (writes) *writes = fs.writeCount() - start;
        (void)t->close();
    }
    fs.heal();
    out.rows = readBack(copy.path());
    return out;
}

TEST(WriteFailure, EveryFailedWriteIsReportedAndLosesNothing) {
    const Rows& before = Template::get().rows();
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        const Rows after = op.expected(before);
        uint64_t writes = 0;
        const Outcome clean = runWith(
            op, [](FaultInjectionFileSystem&) {}, &writes);
        ASSERT_TRUE(clean.status.ok()) << clean.status.toString();
        ASSERT_EQ(clean.rows, after);
        ASSERT_GT(writes, 0u);

        struct Fault {
            int error;
            bool sticky;
        };
        for (const Fault fault : {Fault{EIO, false}, Fault{ENOSPC, true}}) {
            for (uint64_t n = 1; n <= writes; ++n) {
                SCOPED_TRACE("write " + std::to_string(n) + " of " + std::to_string(writes) +
                             (fault.sticky ? ", and all after it," : "") + " fails");
                const Outcome o = runWith(
                    op, [&](FaultInjectionFileSystem& fs) { fs.failNthWrite(n, fault.error, fault.sticky); });
                if (o.status.ok()) {
                    // Only a write whose failure costs nothing may go unreported.
                    EXPECT_EQ(o.rows, after);
                } else {
                    EXPECT_TRUE(nothingLost(o.rows, before, after, op.atomic)) << o.status.toString();
                }
                // A sticky failure of an operation's first write leaves nothing to do.
                if (fault.sticky && n == 1) {
                    EXPECT_FALSE(o.status.ok());
                }
            }
        }
    }
}

// A full disk still lets a program overwrite what a file holds; only growth fails.
TEST(WriteFailure, AFullDiskLosesNothing) {
    const Rows& before = Template::get().rows();
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        const Rows after = op.expected(before);
        for (uint64_t space : {0, 1, 10, 100, 400, 1000, 3000, 10000}) {
            SCOPED_TRACE(std::to_string(space) + " bytes free");
            const Outcome o = runWith(op, [&](FaultInjectionFileSystem& fs) { fs.setFreeSpace(space); });
            if (o.status.ok()) {
                EXPECT_EQ(o.rows, after);
            } else {
                EXPECT_TRUE(nothingLost(o.rows, before, after, op.atomic)) << o.status.toString();
            }
        }
    }
}

// After a failed write the open table shows what the file holds: a failed commit
// drops the change (so the next commit has nothing to claim), a failed append is not
// counted.
TEST(WriteFailure, TheOpenTableShowsWhatTheFileHolds) {
    Copy copy;
    FaultInjectionFileSystem fs;
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(copy.path(), OpenMode::Exclusive, &t, &fs).ok());
    const uint64_t size = std::filesystem::file_size(copy.path());
    ASSERT_TRUE(t->go(3).ok());
    ASSERT_TRUE(t->replace(kName, "CHANGED").ok());
    fs.failNthWrite(1, EIO);
    EXPECT_FALSE(t->commit().ok());
    EXPECT_EQ(t->getTrimString(kName), "N3");
    EXPECT_TRUE(t->commit().ok());

    fs.failNthWrite(3, EIO);  // the index mark and the record go through, the count does not
    EXPECT_FALSE(t->appendBlank().ok());
    EXPECT_EQ(t->recCount(), kRecords);
    EXPECT_EQ(t->queryRecCount(), kRecords);

    // A batch whose count cannot be written is cut off again, and so is the record
    // the failed append left uncounted: the file ends where its records end.
    ASSERT_TRUE(t->closeIndexes().ok());
    std::string images = t->blankRecord() + t->blankRecord();
    fs.failNthWrite(2, EIO);  // the records go through, the count does not
    EXPECT_FALSE(t->appendRecords(images).ok());
    EXPECT_EQ(t->recCount(), kRecords);
    EXPECT_EQ(std::filesystem::file_size(copy.path()), size);
    ASSERT_TRUE(t->close().ok());
    const Rows rows = readBack(copy.path());
    ASSERT_EQ(rows.size(), kRecords);
    EXPECT_EQ(rows[2].name, "N3");
}

}  // namespace
