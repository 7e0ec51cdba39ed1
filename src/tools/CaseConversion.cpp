#include "CaseConversion.h"

#include "CodePage.h"
#include "Messages.h"
#include "SavedCursor.h"
#include "Table.h"
#include "TableText.h"

namespace CaseConversion {

const std::vector<Field>& fields() {
    static const std::vector<Field> list = {
        {"Last", "LNAME"},          {"First", "FNAME"},      {"Middle", "MIDDLE"},
        {"Title", "TITLE"},         {"Organization", "ORG"}, {"Address 1", "STREET"},
        {"Address 2", "STREET2"},   {"City", "CITY"},        {"State/Province", "STATE"},
        {"Zip/Postal Code", "ZIP"}, {"Country", "COUNTRY"},  {"Prefix", "PREFIX"},
        {"Comment 1", "USER1"},     {"Comment 2", "USER2"},  {"Codes", "CODES"},
    };
    return list;
}

std::string Convert(Rule rule, std::string_view bytes, const xbase::CodePage& page) {
    std::string out(bytes);
    const unsigned char* upper = page.upperMap();
    const unsigned char* lower = page.lowerMap();
    for (size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        switch (rule) {
            case Rule::Upper:
                out[i] = char(upper[c]);
                break;
            case Rule::Lower:
                out[i] = char(lower[c]);
                break;
            case Rule::Proper:
                out[i] = char(i == 0 || out[i - 1] == ' ' ? upper[c] : lower[c]);
                break;
        }
    }
    return out;
}

QString Convert(Rule rule, const QString& text) {
    const xbase::CodePage& page = xbase::CodePage::windows1252();
    std::string bytes;
    if (!TableText::encode(page, text, &bytes).ok()) return text;
    return TableText::decode(page, Convert(rule, bytes, page));
}

bool Confirm(const Options& options, Messages& messages) {
    if (options.fields.isEmpty()) {
        messages.inform(kNoFieldsMessage);
        return false;
    }
    return messages.ask(kQuestion, kQuestionCaption, Messages::Preset::No);
}

namespace {

// Converts the chosen fields of the current record and writes it.
xbase::Status convertRecord(xbase::Table& table, Rule rule, const std::vector<int>& fields) {
    for (const int f : fields) {
        const std::string stored = table.getString(f);
        const std::string converted = Convert(rule, stored, table.codePage());
        if (converted == stored) continue;
        const xbase::Status s = table.replace(f, converted);
        if (!s.ok()) return s;
    }
    return table.commit();
}

}  // namespace

JobResult RunCaseConversion(xbase::Table& table, const Options& options, JobProgress& progress,
                            Result* result, QString* error) {
    *result = Result();
    std::vector<int> chosen;
    for (const Field& f : fields()) {
        if (!options.fields.contains(QLatin1String(f.name), Qt::CaseInsensitive)) continue;
        const int index = table.fieldIndex(f.name);
        if (index < 0) {
            *error = QStringLiteral("The file has no %1 field").arg(QLatin1String(f.name));
            return JobResult::Failed;
        }
        chosen.push_back(index);
    }
    for (const QString& name : options.fields) {
        bool known = false;
        for (const Field& f : fields())
            known = known || name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0;
        if (!known) {
            *error = QStringLiteral("%1 is not a field that can be converted").arg(name);
            return JobResult::Failed;
        }
    }

    SavedCursor saved(table);
    auto failed = [&](const xbase::Status& s) {
        *error = QString::fromStdString(s.message());
        return JobResult::Failed;
    };
    if (options.records == Records::Current) {
        if (table.eof()) return JobResult::Done;
        result->total = 1;
        const xbase::Status s = convertRecord(table, options.rule, chosen);
        if (!s.ok()) return failed(s);
        result->converted = 1;
        progress.gauge(100);
        return JobResult::Done;
    }

    xbase::Status s;
    if (options.records == Records::All) s = table.query("!ISDEL");
    // Record-number order: the fastest walk, and one that no key change can disturb.
    if (s.ok()) s = table.setOrder(0);
    if (!s.ok()) return failed(s);
    result->total = table.queryRecCount();
    progress.gauge(0);
    // The index pages the changes touch are written once, at the end.
    xbase::IndexBatch batch(table);
    s = batch.begun();
    bool cancelled = false;
    for (s = s.ok() ? table.goTop() : s; s.ok() && !table.eof(); s = table.skip(1)) {
        s = convertRecord(table, options.rule, chosen);
        if (!s.ok()) break;
        ++result->converted;
        if (result->total) progress.gauge(int(uint64_t(result->converted) * 100 / result->total));
        if (!progress.keepGoing()) {
            cancelled = true;
            break;
        }
    }
    const xbase::Status written = batch.finish();
    if (s.ok()) s = written;
    if (!s.ok()) return failed(s);
    return cancelled ? JobResult::Cancelled : JobResult::Done;
}

}  // namespace CaseConversion
