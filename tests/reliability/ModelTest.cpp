// The engine against a model: long runs of random work on an address file with its 26
// tags, checked against a plain in-memory picture of what the file must hold.
//
// The model is a vector of records (each field's stored bytes, the memo's text, the
// deletion mark). It knows nothing of the engine: each tag's key is derived here from
// its expression with plain string work (upper-casing, concatenation, the trimming
// that "-" does), and a tag's order is its keys compared byte by byte as unsigned
// characters, ties in record number order. After every step the record touched and
// the record count are compared; every record, and every tag walked forwards and
// backwards, are compared every few steps and after each pack, rebuild, reopen and
// batch. Seeks land where the model's order says.
//
// QUILLORY_MODEL_STEPS sets the steps per seed (default 1500) and QUILLORY_MODEL_SEED
// one seed to run (default: three fixed seeds). A failure names the seed, the step and
// the last operations, so that the run can be repeated exactly. At the end of each run
// the table is read back by Python's dbf and Perl's XBase and compared with the model.

#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "AddressFile.h"
#include "Table.h"
#include "TempDir.h"

namespace {

using xbase::Status;
using xbase::Table;

// ---------------------------------------------------------------------------
// Random numbers: a fixed generator (splitmix64) so that a seed means the same run
// on every library and machine.

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n
    uint32_t below(uint32_t n) { return n ? uint32_t(next() % n) : 0; }
    bool chance(int percent) { return below(100) < uint32_t(percent); }

private:
    uint64_t state_;
};

// ---------------------------------------------------------------------------
// The model.

struct ModelField {
    std::string name;
    char type;
    int width;
};

struct ModelRecord {
    std::vector<std::string> values;  // stored bytes per field (C padded, L one byte); memo: its text
    bool deleted = false;
};

// Upper case in Windows-1252 for the characters the test writes: a-z and the accented
// small letters from 0xE0 (the division sign 0xF7 stays).
std::string upper(const std::string& s) {
    std::string out = s;
    for (char& ch : out) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z') ch = char(c - 32);
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) ch = char(c - 32);
    }
    return out;
}

// a - b: a's trailing blanks move to the end of the result.
std::string minus(const std::string& a, const std::string& b) {
    const size_t end = a.find_last_not_of(' ');
    const size_t kept = end == std::string::npos ? 0 : end + 1;
    return a.substr(0, kept) + b + std::string(a.size() - kept, ' ');
}

bool logicalTrue(const std::string& stored) {
    return !stored.empty() && (stored[0] == 'T' || stored[0] == 't' || stored[0] == 'Y' || stored[0] == 'y');
}

class Model {
public:
    explicit Model(std::vector<ModelField> fields) : fields_(std::move(fields)) {
        for (size_t i = 0; i < fields_.size(); ++i) index_[fields_[i].name] = int(i);
    }

    const std::vector<ModelField>& fields() const { return fields_; }
    int field(const std::string& name) const { return index_.at(name); }
    std::vector<ModelRecord>& records() { return records_; }
    const std::vector<ModelRecord>& records() const { return records_; }

    ModelRecord blank() const {
        ModelRecord r;
        for (const ModelField& f : fields_) r.values.push_back(f.type == 'M' ? std::string() : std::string(f.width, ' '));
        return r;
    }

    // The stored bytes of a character value: cut to the width, padded with blanks.
    std::string storeText(int f, const std::string& value) const {
        std::string v = value.substr(0, size_t(fields_[size_t(f)].width));
        v.resize(size_t(fields_[size_t(f)].width), ' ');
        return v;
    }

    // The key of tag `tag` for record `r`, derived from the tag's expression by hand.
    std::string key(const std::string& tag, const ModelRecord& r) const {
        auto v = [&](const char* name) { return r.values[size_t(field(name))]; };
        if (tag == "NAME") return upper(minus(v("LNAME"), v("FNAME")));
        if (tag == "LNAME") return upper(v("LNAME")) + upper(v("FNAME"));
        if (tag == "CITY") return upper(v("CITY") + v("STATE"));
        if (tag == "STATEZIP") return upper(minus(v("STATE"), v("ZIP")));
        if (tag == "DELETED") return r.deleted ? "T" : "F";
        if (tag == "ISDEL") return logicalTrue(v("ISDEL")) ? "T" : "F";
        if (tag == "NOTISDEL") return logicalTrue(v("ISDEL")) ? "F" : "T";
        return upper(v(tag.c_str()));  // UPPER(<field of the tag's name>)
    }

    struct Entry {
        std::string key;
        uint32_t recNo;
    };

    // The tag's entries in order: keys as unsigned bytes, ties by record number.
    std::vector<Entry> order(const std::string& tag) const {
        std::vector<Entry> entries;
        for (size_t i = 0; i < records_.size(); ++i) entries.push_back({key(tag, records_[i]), uint32_t(i + 1)});
        std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            const int c = a.key.compare(b.key);  // std::string compares as unsigned char
            return c != 0 ? c < 0 : a.recNo < b.recNo;
        });
        return entries;
    }

    void pack() {
        std::vector<ModelRecord> kept;
        for (ModelRecord& r : records_)
            if (!r.deleted) kept.push_back(std::move(r));
        records_ = std::move(kept);
    }

private:
    std::vector<ModelField> fields_;
    std::map<std::string, int> index_;
    std::vector<ModelRecord> records_;
};

// ---------------------------------------------------------------------------
// The run.

int envInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && std::atoi(v) > 0 ? std::atoi(v) : fallback;
}

std::string printable(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

// A failure found by a check: what differs.
struct Difference {
    std::string what;
};

class ModelRun {
public:
    ModelRun(uint64_t seed, const std::string& path) : seed_(seed), random_(seed), path_(path), model_(fieldsOf()) {}

    static std::vector<ModelField> fieldsOf() {
        std::vector<ModelField> out;
        for (const AddressFile::Field& f : AddressFile::fields()) out.push_back({f.name, f.type, f.width});
        return out;
    }

    ::testing::AssertionResult run(int steps) {
        xbase::TableSpec structure;
        for (const ModelField& f : model_.fields()) structure.fields.push_back({f.name, f.type, uint16_t(f.width)});
        Status s = Table::create(path_, structure);
        if (!s.ok()) return fail("create: " + s.message());
        if (!reopen()) return failure_;
        QString message;
        if (!AddressFile::CreateAddressTags(*table_, &message))
            return fail("creating the tags: " + message.toStdString());
        for (step_ = 1; step_ <= steps; ++step_) {
            if (!oneStep()) return failure_;
        }
        if (!checkAll()) return failure_;
        s = table_->close();
        table_.reset();
        if (!s.ok()) return fail("close: " + s.message());
        return ::testing::AssertionSuccess();
    }

    const Model& model() const { return model_; }
    int structuralChanges() const { return structural_; }

private:
    // ---- failures
    ::testing::AssertionResult fail(const std::string& what) {
        std::ostringstream out;
        out << "seed " << seed_ << ", step " << step_ << ": " << what << "\n  last operations:";
        for (const std::string& op : log_) out << "\n    " << op;
        out << "\n  repeat with QUILLORY_MODEL_SEED=" << seed_ << " QUILLORY_MODEL_STEPS=" << step_;
        failure_ = ::testing::AssertionFailure() << out.str();
        return failure_;
    }
    bool check(const Status& s, const std::string& what) {
        if (s.ok()) return true;
        fail(what + ": " + s.message());
        return false;
    }
    void note(const std::string& op) {
        log_.push_back(op);
        if (log_.size() > 24) log_.pop_front();
    }

    // ---- values
    std::string randomText(int width) {
        static const char* const words[] = {"smith", "Smith", "SMITH", "jones", "o'neil", "Van Dyke", "m\xfcller",
                                            "Mu\xf1oz", "\xe9tienne", "a", "A", "ab", "z", "10", "9", " lead",
                                            "x y", "Zz", "MAIN ST", "main st."};
        std::string v;
        switch (random_.below(4)) {
            case 0:
                return "";
            case 1:
                v = words[random_.below(sizeof words / sizeof *words)];
                if (random_.chance(30)) v += std::string(" ") + words[random_.below(sizeof words / sizeof *words)];
                return v;
            default: {
                static const char alphabet[] = "aAbBcCxyzXYZ 0129-.,'/\xe9\xc9\xfc\xf1";
                const uint32_t len = random_.below(uint32_t(width) + 3);
                for (uint32_t i = 0; i < len; ++i) v += alphabet[random_.below(sizeof alphabet - 1)];
                return v;
            }
        }
    }

    std::string randomMemo() {
        if (random_.chance(20)) return "";
        const uint32_t len = random_.chance(20) ? random_.below(3000) : random_.below(200);
        std::string v;
        static const char alphabet[] = "abc XYZ 019.\r\n\t\xe9\xfc";
        for (uint32_t i = 0; i < len; ++i) v += alphabet[random_.below(sizeof alphabet - 1)];
        return v;
    }

    // Sets field f of the current record in the engine and of record `index` in the model.
    bool setField(size_t index, int f) {
        const ModelField& mf = model_.fields()[size_t(f)];
        ModelRecord& r = model_.records()[index];
        if (mf.type == 'M') {
            const std::string memo = randomMemo();
            note("  memo of " + std::to_string(index + 1) + ": " + std::to_string(memo.size()) + " bytes");
            r.values[size_t(f)] = memo;
            return check(table_->replace(f, memo), "replace MEMO");
        }
        if (mf.type == 'L') {
            static const char* const values[] = {"T", "F", "", "Y", "n"};
            const std::string v = values[random_.below(5)];
            note("  ISDEL of " + std::to_string(index + 1) + " = '" + v + "'");
            r.values[size_t(f)] = v.empty() ? " " : (v == "T" || v == "Y" ? "T" : "F");
            return check(table_->replace(f, v), "replace ISDEL");
        }
        const std::string v = randomText(mf.width);
        note("  " + mf.name + " of " + std::to_string(index + 1) + " = \"" + printable(v) + "\"");
        r.values[size_t(f)] = model_.storeText(f, v);
        return check(table_->replace(f, v), "replace " + mf.name);
    }

    uint32_t randomRecord() { return 1 + random_.below(uint32_t(model_.records().size())); }

    // ---- operations
    bool append() {
        note("append as " + std::to_string(model_.records().size() + 1));
        if (!check(table_->appendBlank(), "appendBlank")) return false;
        model_.records().push_back(model_.blank());
        const uint32_t n = 1 + random_.below(6);
        for (uint32_t i = 0; i < n; ++i)
            if (!setField(model_.records().size() - 1, int(random_.below(uint32_t(model_.fields().size())))))
                return false;
        if (random_.chance(70) && !check(table_->commit(), "commit")) return false;
        return checkRecord(uint32_t(model_.records().size()));
    }

    bool appendImages() {
        const uint32_t n = 1 + random_.below(5);
        note("appendRecords of " + std::to_string(n));
        std::string images;
        for (uint32_t i = 0; i < n; ++i) {
            std::string image = table_->blankRecord();
            ModelRecord r = model_.blank();
            for (int k = 0; k < 4; ++k) {
                const int f = int(random_.below(uint32_t(model_.fields().size())));
                const ModelField& mf = model_.fields()[size_t(f)];
                std::string v = mf.type == 'M' ? randomMemo() : mf.type == 'L' ? (random_.chance(50) ? "T" : "F")
                                                                              : randomText(mf.width);
                if (!check(table_->putField(&image, f, v), "putField " + mf.name)) return false;
                r.values[size_t(f)] = mf.type == 'C' ? model_.storeText(f, v) : v;
            }
            if (random_.chance(20)) {
                Table::markRecordDeleted(&image, true);
                r.deleted = true;
            }
            images += image;
            model_.records().push_back(r);
        }
        if (!check(table_->appendRecords(images), "appendRecords")) return false;
        return checkCount();
    }

    bool replace() {
        const uint32_t rec = randomRecord();
        note("replace in " + std::to_string(rec));
        if (!check(table_->go(rec), "go")) return false;
        const uint32_t n = 1 + random_.below(4);
        for (uint32_t i = 0; i < n; ++i) {
            int f = int(random_.below(uint32_t(model_.fields().size())));
            if (random_.chance(25)) f = model_.field("MEMO");
            if (!setField(rec - 1, f)) return false;
        }
        if (random_.chance(60) && !check(table_->commit(), "commit")) return false;
        return checkRecord(rec);
    }

    bool mark() {
        const uint32_t rec = randomRecord();
        const bool del = random_.chance(model_.records().size() > 300 ? 80 : 55);
        note(std::string(del ? "delete " : "recall ") + std::to_string(rec));
        if (!check(table_->go(rec), "go")) return false;
        if (!check(del ? table_->deleteRecord() : table_->recall(), del ? "deleteRecord" : "recall")) return false;
        model_.records()[rec - 1].deleted = del;
        return checkRecord(rec);
    }

    bool pack() {
        note("pack");
        ++structural_;
        if (!check(table_->pack(), "pack")) return false;
        model_.pack();
        return checkAll();
    }

    bool rebuild() {
        ++structural_;
        if (random_.chance(50)) {
            note("rebuild all tags");
            QString message;
            if (!AddressFile::CreateAddressTags(*table_, &message)) return fail("rebuild: " + message.toStdString());
        } else {
            const AddressFile::TagDef& t = AddressFile::tags()[random_.below(uint32_t(AddressFile::tags().size()))];
            note(std::string("rebuild tag ") + t.name);
            if (!check(table_->indexTag(t.name, t.key), std::string("indexTag ") + t.name)) return false;
        }
        return checkAll();
    }

    bool reopen() {
        note("close and reopen");
        ++structural_;
        if (table_) {
            Status s = table_->close();
            table_.reset();
            if (!check(s, "close")) return false;
        }
        if (!check(Table::open(path_, xbase::OpenMode::Exclusive, &table_), "open")) return false;
        hide_ = false;
        exact_ = false;
        soft_ = false;
        if (table_->orderCount() != 0 && table_->indexState() != xbase::IndexState::Ok)
            return fail("the index did not open: " + table_->indexProblem());
        return model_.records().empty() || checkAll();
    }

    bool batch() {
        note("batch {");
        ++structural_;
        xbase::IndexBatch batch(*table_);
        if (!check(batch.begun(), "beginBatch")) return false;
        const uint32_t n = 2 + random_.below(12);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t what = random_.below(3);
            if (what == 0 || model_.records().empty()) {
                if (!append()) return false;
            } else if (!(what == 1 ? replace() : mark())) {
                return false;
            }
        }
        if (!check(batch.finish(), "endBatch")) return false;
        note("}");
        return checkAll();
    }

    bool settings() {
        const uint32_t what = random_.below(3);
        if (what == 0) {
            hide_ = !hide_;
            table_->setDeleted(hide_);
        } else if (what == 1) {
            exact_ = !exact_;
            table_->setExact(exact_);
        } else {
            soft_ = !soft_;
            table_->setSoftSeek(soft_);
        }
        note("hide deleted " + std::to_string(hide_) + ", exact " + std::to_string(exact_) + ", soft seek " +
             std::to_string(soft_));
        return true;
    }

    bool seek() {
        const auto& tags = AddressFile::tags();
        const int order = 1 + int(random_.below(uint32_t(tags.size())));
        const std::string tag = tags[size_t(order - 1)].name;
        if (!check(table_->setOrder(order), "setOrder")) return false;
        const std::vector<Model::Entry> entries = model_.order(tag);
        const bool logical = tag == "DELETED" || tag == "ISDEL" || tag == "NOTISDEL";
        std::string value;
        if (logical) {
            value = random_.chance(50) ? "T" : "F";
        } else if (!entries.empty() && random_.chance(70)) {
            // A prefix of a key that is there, sometimes changed in its last byte.
            const std::string& k = entries[random_.below(uint32_t(entries.size()))].key;
            value = k.substr(0, random_.below(uint32_t(k.size()) + 1));
            if (!value.empty() && random_.chance(30)) value.back() = char(value.back() + 1);
        } else {
            value = upper(randomText(12));
        }
        note("seek \"" + printable(value) + "\" in " + tag);
        bool found = false;
        if (!check(table_->seek(value, &found), "seek")) return false;

        // Where the model says: the first visible entry not below the search value.
        const size_t klen = entries.empty() ? model_.key(tag, model_.blank()).size() : entries[0].key.size();
        std::string search = value.substr(0, klen);
        if (exact_ || logical) search.resize(klen, ' ');
        uint32_t want = 0;
        bool wantFound = false;
        for (const Model::Entry& e : entries) {
            if (hide_ && model_.records()[e.recNo - 1].deleted) continue;
            if (e.key.compare(0, search.size(), search) < 0) continue;
            want = e.recNo;
            wantFound = e.key.compare(0, search.size(), search) == 0;
            break;
        }
        if (found != wantFound)
            return fail("seek in " + tag + ": found " + std::to_string(found) + ", the model " +
                        std::to_string(wantFound));
        const bool lands = want != 0 && (wantFound || soft_);
        if (lands ? (table_->eof() || table_->recNo() != want) : !table_->eof())
            return fail("seek in " + tag + " landed on " + std::to_string(table_->recNo()) + (table_->eof() ? " (eof)" : "") +
                        ", the model on " + (lands ? std::to_string(want) : std::string("eof")));
        if (lands && !checkCurrent(want)) return false;
        // A few steps on from there follow the model's order.
        if (lands) {
            size_t at = 0;
            std::vector<uint32_t> visible;
            for (const Model::Entry& e : entries)
                if (!(hide_ && model_.records()[e.recNo - 1].deleted)) visible.push_back(e.recNo);
            while (visible[at] != want) ++at;
            for (int i = 0; i < 3 && at + 1 < visible.size(); ++i) {
                if (!check(table_->skip(1), "skip")) return false;
                ++at;
                if (table_->eof() || table_->recNo() != visible[at])
                    return fail("skip after seek in " + tag + " gave " + std::to_string(table_->recNo()) +
                                ", the model " + std::to_string(visible[at]));
            }
        }
        return true;
    }

    bool oneStep() {
        const size_t n = model_.records().size();
        const uint32_t roll = random_.below(1000);
        // Keep the file between a few and some hundreds of records: past 300 records
        // marks and packs come more often than appends.
        const bool large = n > 300;
        const uint32_t appendShare = n < 20 ? 400 : large ? 30 : 200;
        if (n == 0 || roll < appendShare) {
            if (!append()) return false;
        } else if (roll < 240) {
            if (!(large ? mark() : appendImages())) return false;
        } else if (roll < 560) {
            if (!replace()) return false;
        } else if (roll < (large ? 720u : 660u)) {
            if (!mark()) return false;
        } else if (roll < 800) {
            if (!seek()) return false;
        } else if (roll < 830) {
            if (!settings()) return false;
        } else if (roll < 836 || (large && roll < 842)) {
            if (!pack()) return false;
        } else if (roll < 842) {
            if (!rebuild()) return false;
        } else if (roll < 848) {
            if (!reopen()) return false;
        } else if (roll < 856) {
            if (!batch()) return false;
        } else if (roll < 880) {
            if (!walk(1 + int(random_.below(uint32_t(AddressFile::tags().size()))))) return false;
        } else {
            if (!replace()) return false;
        }
        return step_ % 64 != 0 || checkAll();
    }

    // ---- checks
    bool checkCount() {
        if (table_->recCount() != model_.records().size())
            return fail("record count " + std::to_string(table_->recCount()) + ", the model " +
                        std::to_string(model_.records().size()));
        return true;
    }

    // The record the cursor is on against the model's record `rec`.
    bool checkCurrent(uint32_t rec) {
        const ModelRecord& want = model_.records()[rec - 1];
        if (table_->deleted() != want.deleted)
            return fail("record " + std::to_string(rec) + " deleted " + std::to_string(table_->deleted()) +
                        ", the model " + std::to_string(want.deleted));
        for (int f = 0; f < int(model_.fields().size()); ++f) {
            std::string got;
            if (model_.fields()[size_t(f)].type == 'M') {
                if (!check(table_->getMemo(f, &got), "getMemo")) return false;
            } else {
                got = table_->getString(f);
            }
            if (got != want.values[size_t(f)])
                return fail("record " + std::to_string(rec) + " field " + model_.fields()[size_t(f)].name + " is \"" +
                            printable(got) + "\", the model \"" + printable(want.values[size_t(f)]) + "\"");
        }
        return true;
    }

    bool checkRecord(uint32_t rec) {
        if (!checkCount()) return false;
        if (!check(table_->go(rec), "go")) return false;
        return checkCurrent(rec);
    }

    // The order `order` walked from the top and from the bottom against the model's.
    bool walk(int order) {
        const std::string tag = AddressFile::tags()[size_t(order - 1)].name;
        if (!check(table_->setOrder(order), "setOrder")) return false;
        std::vector<uint32_t> want;
        for (const Model::Entry& e : model_.order(tag))
            if (!(hide_ && model_.records()[e.recNo - 1].deleted)) want.push_back(e.recNo);
        std::vector<uint32_t> forwards, backwards;
        if (!check(table_->goTop(), "goTop")) return false;
        while (!table_->eof() && forwards.size() <= want.size()) {
            forwards.push_back(table_->recNo());
            if (!check(table_->skip(1), "skip")) return false;
        }
        if (!check(table_->goBottom(), "goBottom")) return false;
        while (!table_->bof() && !table_->eof() && backwards.size() <= want.size()) {
            backwards.push_back(table_->recNo());
            if (!check(table_->skip(-1), "skip")) return false;
        }
        std::reverse(backwards.begin(), backwards.end());
        for (const auto* got : {&forwards, &backwards}) {
            if (*got == want) continue;
            size_t i = 0;
            while (i < got->size() && i < want.size() && (*got)[i] == want[i]) ++i;
            return fail("tag " + tag + (got == &forwards ? " forwards" : " backwards") + ": " +
                        std::to_string(got->size()) + " records, the model " + std::to_string(want.size()) +
                        "; first difference at position " + std::to_string(i + 1) + ": " +
                        (i < got->size() ? std::to_string((*got)[i]) : std::string("end")) + " against " +
                        (i < want.size() ? std::to_string(want[i]) : std::string("end")));
        }
        return true;
    }

    bool checkAll() {
        if (!checkCount()) return false;
        if (!check(table_->setOrder(0), "setOrder 0")) return false;
        for (uint32_t r = 1; r <= model_.records().size(); ++r)
            if (!checkRecord(r)) return false;
        for (int order = 1; order <= int(AddressFile::tags().size()); ++order)
            if (!walk(order)) return false;
        if (table_->orderCount() != int(AddressFile::tags().size()))
            return fail("orders: " + std::to_string(table_->orderCount()));
        return check(table_->verifyIndexes(), "verifyIndexes");
    }

    uint64_t seed_;
    Random random_;
    std::string path_;
    Model model_;
    std::unique_ptr<Table> table_;
    int step_ = 0;
    int structural_ = 0;
    bool hide_ = false, exact_ = false, soft_ = false;
    std::deque<std::string> log_;
    ::testing::AssertionResult failure_ = ::testing::AssertionSuccess();
};

// ---------------------------------------------------------------------------
// Reading back with the other implementations (the interop test's scripts).

std::string runScript(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    out += ::pclose(p) == 0 ? "" : "\n<the script failed>";
    return out;
}

// Windows-1252 text as UTF-8, for the letters the test writes (all below 0x80 or from
// 0xC0 on, where Windows-1252 and Latin-1 agree).
std::string utf8(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

// The model in the scripts' row format: field names, then "*"/"-" and canonical values.
std::string rowsOf(const Model& model) {
    std::string out;
    for (size_t i = 0; i < model.fields().size(); ++i) out += (i ? "\t" : "") + model.fields()[i].name;
    out += '\n';
    for (const ModelRecord& r : model.records()) {
        out += r.deleted ? "*" : "-";
        for (size_t i = 0; i < model.fields().size(); ++i) {
            std::string v = r.values[i];
            const char type = model.fields()[i].type;
            if (type == 'C') v.erase(v.find_last_not_of(' ') == std::string::npos ? 0 : v.find_last_not_of(' ') + 1);
            if (type == 'L') v = v == "T" ? "T" : v == "F" ? "F" : "";
            out += "\t" + escape(utf8(v));
        }
        out += '\n';
    }
    return out;
}

::testing::AssertionResult readBackAgrees(const Model& model, const std::string& path) {
    const std::string want = rowsOf(model);
    const std::string scripts = std::string(QUILLORY_TEST_DIR) + "/../interop/";
    const std::pair<const char*, std::string> readers[] = {
        {"Python's dbf", "/usr/bin/python3 " + scripts + "pydbf_read.py '" + path + "' 2>&1"},
        {"Perl's XBase", "/usr/bin/perl " + scripts + "xbase_read.pl '" + path + "' 2>&1"},
    };
    for (const auto& [who, command] : readers) {
        const std::string got = runScript(command);
        if (got == want) continue;
        size_t line = 1, i = 0;
        for (; i < got.size() && i < want.size() && got[i] == want[i]; ++i) line += got[i] == '\n';
        const auto lineAt = [](const std::string& s, size_t at) {
            const size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
            const size_t from = start == std::string::npos ? 0 : start + 1;
            return s.substr(from, s.find('\n', from) - from);
        };
        return ::testing::AssertionFailure() << who << " reads otherwise, line " << line << ":\n  got:   "
                                             << lineAt(got, i) << "\n  model: " << lineAt(want, i);
    }
    return ::testing::AssertionSuccess();
}

TEST(ModelTest, RandomWorkMatchesTheModel) {
    const int steps = envInt("QUILLORY_MODEL_STEPS", 1500);
    std::vector<uint64_t> seeds = {1, 20240611, 977};
    if (const char* s = std::getenv("QUILLORY_MODEL_SEED")) seeds = {std::strtoull(s, nullptr, 10)};
    for (uint64_t seed : seeds) {
        TempDir dir;
        const std::string path = dir.file("MODEL.DBF");
        ModelRun run(seed, path);
        ASSERT_TRUE(run.run(steps));
        ASSERT_TRUE(readBackAgrees(run.model(), path)) << "seed " << seed;
        size_t deleted = 0;
        for (const ModelRecord& r : run.model().records()) deleted += r.deleted;
        std::printf("seed %llu: %d steps, 0 differences, %zu records (%zu deleted), %d structural changes; "
                    "Python's dbf and Perl's XBase agree\n",
                    static_cast<unsigned long long>(seed), steps, run.model().records().size(), deleted,
                    run.structuralChanges());
    }
}

}  // namespace
