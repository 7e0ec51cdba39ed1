#include "Presort.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "AdcCentres.h"
#include "FileSystem.h"

namespace Presort {

namespace {

constexpr int kGroupMinimum = 10;  // pieces that make a 5-digit or 3-digit group

std::string prefix(const std::string& key) { return key.substr(0, 3); }

}  // namespace

bool Qualifies(const std::string& key) {
    return !key.empty() && key[0] >= '0' && key[0] <= '9' && key >= "00000" && key <= "99999-999";
}

bool Tally::add(const std::string& key) {
    if (!Qualifies(key)) return false;
    ++lists_[size_t(key[0] - '0')][key];
    ++pieces_;
    return true;
}

std::vector<TallyRecord> Tally::list(int digit) const {
    std::vector<TallyRecord> out;
    for (const auto& [key, count] : lists_[size_t(digit - '0')]) out.push_back({key, count});
    return out;
}

std::vector<std::string> BuildList(const Tally& tally) {
    std::vector<std::string> fiveDigit, threeDigit, adc;
    std::vector<TallyRecord> rest;
    for (int digit = '0'; digit <= '9'; ++digit) {
        std::vector<TallyRecord> remaining;
        for (const TallyRecord& t : tally.list(digit)) {
            if (t.count >= kGroupMinimum) {
                fiveDigit.push_back("** 5-digit " + t.key);
                fiveDigit.push_back(t.key);
            } else {
                remaining.push_back(t);
            }
        }
        for (size_t first = 0; first < remaining.size();) {
            size_t end = first;
            int pieces = 0;
            while (end < remaining.size() && prefix(remaining[end].key) == prefix(remaining[first].key)) {
                pieces += remaining[end].count;
                ++end;
            }
            if (pieces >= kGroupMinimum) {
                threeDigit.push_back("** 3-digit " + prefix(remaining[first].key));
                for (size_t i = first; i < end; ++i) threeDigit.push_back(remaining[i].key);
            } else {
                rest.insert(rest.end(), remaining.begin() + long(first), remaining.begin() + long(end));
            }
            first = end;
        }
    }
    for (const AdcCentre& centre : AdcCentres()) {
        bool headed = false;
        std::vector<TallyRecord> left;
        for (const TallyRecord& t : rest) {
            if (!AdcServes(centre, prefix(t.key))) {
                left.push_back(t);
                continue;
            }
            if (!headed) adc.push_back(std::string("** ADC ") + centre.name);
            headed = true;
            adc.push_back(t.key);
        }
        rest.swap(left);
    }
    std::vector<std::string> lines = std::move(fiveDigit);
    lines.insert(lines.end(), threeDigit.begin(), threeDigit.end());
    lines.insert(lines.end(), adc.begin(), adc.end());
    if (!rest.empty()) {
        lines.push_back("** Unknown");
        for (const TallyRecord& t : rest) lines.push_back(t.key);
    }
    return lines;
}

bool WriteFile(const QString& path, const std::vector<std::string>& lines, QString* error) {
    const xbase::NewFileMode mode(QFile::encodeName(path).toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Unable to write ") + path;
        return false;
    }
    for (const std::string& line : lines) {
        file.write(line.data(), qint64(line.size()));
        file.write("\r\n", 2);
    }
    if (!file.commit()) {
        *error = QStringLiteral("Unable to write ") + path;
        return false;
    }
    mode.written();
    return true;
}

JobResult RunPresort(xbase::Table& table, const QString& path, JobProgress& progress, QString* error,
                     Summary* summary) {
    Tally tally;
    int records = 0;
    const JobResult read = ScanZipKeys(
        table, progress,
        [&](const std::string& key) {
            ++records;
            tally.add(key);
        },
        error);
    if (read != JobResult::Done) return read;
    progress.status(QStringLiteral("Sorting Zip Codes..."));
    const std::vector<std::string> lines = BuildList(tally);
    if (!WriteFile(path, lines, error)) return JobResult::Failed;
    if (summary) {
        summary->records = records;
        summary->pieces = tally.pieces();
        summary->groups = int(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("**") != std::string::npos;
        }));
    }
    return JobResult::Done;
}

}  // namespace Presort
