#include "DuplicateCheck.h"

#include "CodePage.h"
#include "FileSystem.h"
#include "SavedCursor.h"
#include "Table.h"

#include <vector>

namespace DuplicateCheck {

const char* KeyExpression(Kind kind) { return kind == Kind::Street ? "upper(STREET)" : "upper(LNAME-FNAME)"; }

const char* NeighbourTag(Kind kind) { return kind == Kind::Street ? "STREET" : "NAME"; }

QString FoundText(uint32_t count) { return QStringLiteral("Found %1 possible duplicates").arg(count); }

std::string ComparedValue(const std::string& last, const std::string& first, const std::string& street,
                          const Options& options) {
    switch (options.kind) {
        case Kind::LastFirst:
            return last.empty() ? std::string() : last + first;
        case Kind::LastFirstInitial:
            return last.empty() ? std::string() : last + first.substr(0, 1);
        case Kind::Street: {
            std::string prefix = street.substr(0, size_t(std::max(options.streetLength, 1)));
            prefix.erase(prefix.find_last_not_of(' ') + 1);
            return prefix;
        }
    }
    return std::string();
}

void RemoveIndex(xbase::Table& table, int order, const QString& indexPath) {
    if (order > 0) (void)table.closeIdx(order);
    if (!indexPath.isEmpty()) (void)xbase::removeFile(indexPath.toStdString());
}

JobResult RunDuplicateScan(xbase::Table& table, const Options& options, const QString& indexPath,
                           JobProgress& progress, Result* result, QString* error) {
    *result = Result();
    const int lname = table.fieldIndex("LNAME"), fname = table.fieldIndex("FNAME");
    const int street = table.fieldIndex("STREET"), isdel = table.fieldIndex("ISDEL");
    const int neighbours = table.tagArea(NeighbourTag(options.kind));
    if (lname < 0 || fname < 0 || street < 0 || isdel < 0 || neighbours == 0) {
        *error = QStringLiteral("The file is not an address file with its %1 order")
                     .arg(QLatin1String(NeighbourTag(options.kind)));
        return JobResult::Failed;
    }
    const xbase::CodePage& page = table.codePage();

    SavedCursor saved(table);
    int order = 0;
    xbase::Status s = table.createIdx(indexPath.toStdString(), KeyExpression(options.kind), &order);
    if (!s.ok()) {
        *error = QString::fromStdString(s.message());
        return JobResult::Failed;
    }
    // The walk only notes the candidates (each record once, in scan order); their keys go
    // into the index afterwards in one batch, so that the walk never leaves its order.
    std::vector<uint32_t> candidates;
    auto note = [&](uint32_t recNo) {
        if (candidates.empty() || candidates.back() != recNo) candidates.push_back(recNo);
    };
    // Compared values match when they are equal upper-cased in the file's code page.
    const unsigned char* upper = page.upperMap();
    auto sameUpper = [upper](const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (upper[static_cast<unsigned char>(a[i])] != upper[static_cast<unsigned char>(b[i])]) return false;
        return true;
    };

    s = table.setOrder(neighbours);
    const uint32_t total = s.ok() ? table.queryRecCount() : 0;
    progress.status(FoundText(0));
    // The previous record's compared values start as "-".
    std::string previous = options.kind == Kind::Street ? "-" : "--";
    uint32_t previousRecNo = 0;
    uint32_t passed = 0;
    bool stopped = false;
    for (s = s.ok() ? table.goTop() : s; s.ok() && !table.eof(); s = table.skip(1)) {
        const uint32_t recNo = table.recNo();
        ++passed;
        const int percent = total ? int(uint64_t(passed) * 100 / total) : 0;
        if (percent > 0 && percent < 100) progress.gauge(percent);
        if (!table.deleted() && !table.getLogical(isdel)) {
            const std::string last = table.getTrimString(lname);
            const std::string first = table.getTrimString(fname);
            const std::string value = ComparedValue(
                last, first, options.kind == Kind::Street ? table.getString(street) : std::string(), options);
            if (!value.empty() && previousRecNo != 0 && sameUpper(value, previous)) {
                note(previousRecNo);
                note(recNo);
                ++result->matches;
                progress.status(FoundText(result->matches));
            }
            // The values of a record that starts no comparison still become the previous ones.
            previous = options.kind == Kind::Street      ? value
                       : options.kind == Kind::LastFirst ? last + first
                                                         : last + first.substr(0, 1);
            previousRecNo = recNo;
        }
        if (!progress.keepGoing()) {
            stopped = true;
            break;
        }
    }
    // What was found goes into the index, also when the scan was stopped part way.
    if (s.ok()) {
        xbase::IndexBatch batch(table);
        s = table.setOrder(order);
        for (size_t i = 0; s.ok() && i < candidates.size(); ++i) {
            s = table.go(candidates[i]);
            if (s.ok()) s = table.keyAdd();
        }
        const xbase::Status written = batch.finish();
        if (s.ok()) s = written;
        if (s.ok()) result->candidates = uint32_t(candidates.size());
    }
    if (!s.ok()) {
        *error = QString::fromStdString(s.message());
        RemoveIndex(table, order, indexPath);
        return JobResult::Failed;
    }
    result->order = order;
    return stopped ? JobResult::Cancelled : JobResult::Done;
}

}  // namespace DuplicateCheck
