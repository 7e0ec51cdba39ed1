#include "StateZipCheck.h"

#include <QFileInfo>

#include "CodePage.h"
#include "SavedCursor.h"
#include "Table.h"
#include "TableText.h"

namespace StateZipCheck {

QString IndexPath(const QString& tablePath) {
    return QFileInfo(tablePath).absolutePath() + QLatin1Char('/') + kIndexFileName;
}

QString FoundText(uint32_t count) {
    return QStringLiteral("Found %1 records with questionable state or zipcodes").arg(count);
}

bool Questionable(const std::string& zip, const std::optional<Range>& range) {
    return !range || zip < range->low || zip > range->high;
}

StateTable::StateTable(xbase::Table& csz) : csz_(csz) {
    state_ = csz_.fieldIndex("STATE");
    low_ = csz_.fieldIndex("LOW_ZIP");
    high_ = csz_.fieldIndex("HIGH_ZIP");
    ok_ = state_ >= 0 && low_ >= 0 && high_ >= 0;
}

std::optional<Range> StateTable::find(const QString& state) {
    if (!ok_) return std::nullopt;
    std::string code;
    if (!TableText::encode(csz_.codePage(), state.trimmed(), &code).ok()) return std::nullopt;
    code = csz_.codePage().upper(code);
    if (code.empty()) return std::nullopt;
    if (auto it = known_.find(code); it != known_.end()) return it->second;

    std::optional<Range> range;
    SavedCursor keep(csz_);
    csz_.setDeleted(true);
    auto here = [&] {
        return csz_.codePage().upper(csz_.getTrimString(state_)) == code
                   ? std::optional<Range>(Range{csz_.getTrimString(low_), csz_.getTrimString(high_)})
                   : std::nullopt;
    };
    const int order = csz_.tagArea("STATE");
    if (order > 0 && csz_.setOrder(order).ok()) {
        csz_.setExact(true);
        bool found = false;
        if (csz_.seek(code, &found).ok() && found) range = here();
    } else if (csz_.setOrder(0).ok()) {
        // Without its tag the table is read row by row.
        for (xbase::Status s = csz_.goTop(); s.ok() && !csz_.eof() && !range; s = csz_.skip(1))
            range = here();
    }
    known_.emplace(code, range);
    return range;
}

JobResult RunStateZipCheck(xbase::Table& table, StateTable& states, const Options& options,
                           const QString& indexPath, JobProgress& progress, Result* result, QString* error) {
    *result = Result();
    const int stateField = table.fieldIndex("STATE"), zipField = table.fieldIndex("ZIP");
    const int isdel = table.fieldIndex("ISDEL");
    if (stateField < 0 || zipField < 0 || isdel < 0 || !states.ok()) {
        *error = QStringLiteral("The file or the state table lacks a field the check needs");
        return JobResult::Failed;
    }
    SavedCursor saved(table);
    int order = 0;
    xbase::Status s = table.createIdx(indexPath.toStdString(), kKeyExpression, &order);
    if (!s.ok()) {
        *error = QString::fromStdString(s.message());
        return JobResult::Failed;
    }
    s = table.setOrder(0);
    const uint32_t total = s.ok() ? table.queryRecCount() : 0;
    uint32_t passed = 0;
    bool stopped = false;
    progress.status(FoundText(0));
    for (s = s.ok() ? table.goTop() : s; s.ok() && !table.eof(); s = table.skip(1)) {
        ++passed;
        const int percent = total ? int(uint64_t(passed) * 100 / total) : 0;
        if (percent >= 1 && percent <= 99) progress.gauge(percent);
        if (!table.deleted() && !table.getLogical(isdel)) {
            const QString state = TableText::decode(table.codePage(), table.getTrimString(stateField));
            const std::string zip = table.getTrimString(zipField);
            const bool blank = state.isEmpty() || zip.empty();
            if ((options.blanks || !blank) && Questionable(zip, states.find(state))) {
                s = table.setOrder(order);
                if (s.ok()) s = table.keyAdd();
                if (s.ok()) s = table.setOrder(0);
                if (!s.ok()) break;
                ++result->found;
            }
        }
        progress.status(FoundText(result->found));
        if (!progress.keepGoing()) {
            stopped = true;
            break;
        }
    }
    if (!s.ok()) {
        *error = QString::fromStdString(s.message());
        (void)table.closeIdx(order);
        (void)xbase::removeFile(indexPath.toStdString());
        return JobResult::Failed;
    }
    result->order = order;
    return stopped ? JobResult::Cancelled : JobResult::Done;
}

}  // namespace StateZipCheck
