#include "ZipCount.h"

#include "TableText.h"
#include "Presort.h"
#include "Table.h"

void ZipCount::add(const std::string& key) {
    ++records_;
    if (key.empty()) {
        ++blank_;
    } else if (key.size() == 5 && Presort::Qualifies(key)) {
        ++regular_[size_t(key[0] - '0')][key];
    } else {
        ++other_[key];
    }
}

QString ZipCount::formatCount(int count) {
    QString digits = QString::number(count < 0 ? -count : count);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, ',');
    return count < 0 ? "-" + digits : digits;
}

QStringList ZipCount::reportLines(const xbase::CodePage& codePage) const {
    auto line = [](const QString& key, int count) {
        return key.left(10).leftJustified(10, ' ') + formatCount(count);
    };
    auto text = [&](const std::string& key) { return TableText::decode(codePage, key); };
    QStringList lines;
    for (const auto& list : regular_)
        for (const auto& [key, count] : list) lines << line(text(key), count);
    lines << QString() << QString();
    for (const auto& [key, count] : other_) lines << line(text(key), count);
    if (blank_ > 0) lines << line(QStringLiteral("BLANK"), blank_);
    return lines;
}

JobResult CountZipCodes(xbase::Table& table, ZipCount* count, JobProgress& progress, QString* error) {
    ZipCount tally;
    const JobResult read = ScanZipKeys(
        table, progress, [&](const std::string& key) { tally.add(key); }, error);
    if (read != JobResult::Done) return read;
    progress.status(QStringLiteral("Sorting Zip Codes..."));
    *count = std::move(tally);
    return JobResult::Done;
}
