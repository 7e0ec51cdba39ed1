#include "SearchReplace.h"

#include <memory>

#include "CodePage.h"
#include "Expression.h"
#include "SavedCursor.h"
#include "Table.h"
#include "TableText.h"

namespace SearchReplace {

const std::vector<Field>& fields() {
    static const std::vector<Field> list = {
        {"Last Name", "LNAME"},   {"First Name", "FNAME"}, {"Middle Initial", "MIDDLE"},
        {"Title", "TITLE"},       {"Organization", "ORG"}, {"Address 1", "STREET"},
        {"Address 2", "STREET2"}, {"City", "CITY"},        {"State", "STATE"},
        {"Zip", "ZIP"},           {"Country", "COUNTRY"},  {"Phone 1", "PHONE"},
        {"Phone 2", "PHONE2"},    {"Email", "EMAIL"},      {"Fax", "FAX"},
        {"Codes", "CODES"},       {"Comment 1", "USER1"},  {"Comment 2", "USER2"},
    };
    return list;
}

const Field* findField(const QString& name) {
    for (const Field& f : fields()) {
        if (name.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(f.display), Qt::CaseInsensitive) == 0) {
            return &f;
        }
    }
    return nullptr;
}

QString ConfirmationText(const Options& options) {
    const Field* field = findField(options.field);
    const QString quote = QStringLiteral("\"");
    QString condition;
    if (options.find.isEmpty()) {
        condition = QStringLiteral("is empty ");
    } else {
        condition = (options.match == Match::Equal ? QStringLiteral("exactly matches: ")
                                                   : QStringLiteral("contains: ")) +
                    quote + options.find + quote +
                    (options.caseSensitive ? QStringLiteral("  (case sensitive)")
                                           : QStringLiteral(" (not case sensitive)"));
    }
    QString action;
    const bool whole = options.action == Action::WholeField;
    if (options.replacement.isEmpty()) {
        action = whole ? QStringLiteral("and delete the entire field ")
                       : QStringLiteral("and delete the matching text ");
    } else {
        action = (whole ? QStringLiteral("and replace the entire field with ")
                        : QStringLiteral("and replace only the matching text with ")) +
                 quote + options.replacement + quote;
    }
    return QStringLiteral("Find records where field ") +
           (field ? QString::fromLatin1(field->display) : options.field) + QLatin1Char('\r') + condition +
           QLatin1Char('\r') + action;
}

QString ReplacedText(uint32_t count) { return QStringLiteral("Replaced %1 records").arg(count); }

QString TooLongText(uint32_t count, int width) {
    return QStringLiteral(
               "%1 records were left unchanged: the new text would be longer than the field (%2 "
               "characters)")
        .arg(count)
        .arg(width);
}

bool Matches(std::string_view fieldText, std::string_view find, Match match, bool caseSensitive,
             const xbase::CodePage& page) {
    if (find.empty()) return fieldText.empty();
    if (caseSensitive) {
        return match == Match::Equal ? fieldText == find : fieldText.find(find) != std::string_view::npos;
    }
    const std::string text = page.upper(fieldText);
    const std::string value = page.upper(find);
    return match == Match::Equal ? text == value : text.find(value) != std::string::npos;
}

std::string ReplaceMatching(std::string_view fieldText, std::string_view find, std::string_view replacement,
                            bool caseSensitive, const xbase::CodePage& page) {
    constexpr size_t kRestLength = 255;
    if (find.empty()) return fieldText.empty() ? std::string(replacement) : std::string(fieldText);
    const std::string value = caseSensitive ? std::string(find) : page.upper(find);
    std::string out;
    std::string rest(fieldText);
    for (int n = 0; n < kMaxReplacements; ++n) {
        const size_t at = (caseSensitive ? rest : page.upper(rest)).find(value);
        if (at == std::string::npos) break;
        out.append(rest, 0, at);
        out.append(replacement);
        rest.erase(0, at + value.size());
        if (rest.size() > kRestLength) rest.resize(kRestLength);
    }
    return out + rest;
}

namespace {

// The trimmed text of a character field in a raw record.
std::string_view fieldText(const char* record, const xbase::FieldDef& f) {
    std::string_view v(record + f.offset, f.width);
    const size_t end = v.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : v.substr(0, end + 1);
}

}  // namespace

JobResult RunSearchReplace(xbase::Table& table, const Options& options, JobProgress& progress, Result* result,
                           QString* error) {
    *result = Result();
    auto failed = [&](const xbase::Status& s) {
        *error = QString::fromStdString(s.message());
        return JobResult::Failed;
    };
    const Field* chosen = findField(options.field);
    const int field = chosen ? table.fieldIndex(chosen->name) : -1;
    if (field < 0) {
        *error = QStringLiteral("%1 is not a field that can be searched").arg(options.field);
        return JobResult::Failed;
    }
    const xbase::FieldDef& def = table.field(field);
    result->width = def.width;
    const xbase::CodePage& page = table.codePage();
    std::string find, replacement;
    xbase::Status s = TableText::encode(page, options.find, &find);
    if (s.ok()) s = TableText::encode(page, options.replacement, &replacement);
    if (!s.ok()) return failed(s);
    std::unique_ptr<xbase::Expression> filter;
    if (!options.filterExpression.trimmed().isEmpty()) {
        std::string expression;
        s = TableText::encode(page, options.filterExpression, &expression);
        if (s.ok()) s = table.compile(expression, &filter);
        if (s.ok() && filter->type() != xbase::ValueType::Logical)
            s = xbase::Status::InvalidArgument("The filter is not a condition");
        if (!s.ok()) return failed(s);
    }

    SavedCursor saved(table);
    s = table.query({});
    if (s.ok()) s = table.setOrder(0);
    if (!s.ok()) return failed(s);
    table.setDeleted(false);
    const uint32_t total = table.recCount();
    progress.status(kProgressText);
    progress.gauge(0);
    // The index pages the changes touch are written once, at the end.
    xbase::IndexBatch batch(table);
    s = batch.begun();
    bool cancelled = false;
    for (uint32_t recNo = 1; recNo <= total && s.ok(); ++recNo) {
        s = table.go(recNo);
        if (!s.ok()) break;
        ++result->visited;
        const char* record = table.recordBytes();
        if (!table.deleted() && (!filter || filter->evalLogical(table.evalContext()))) {
            const std::string_view text = fieldText(record, def);
            if (Matches(text, find, options.match, options.caseSensitive, page)) {
                const std::string value =
                    options.action == Action::WholeField
                        ? replacement
                        : ReplaceMatching(text, find, replacement, options.caseSensitive, page);
                if (value.size() > def.width) {
                    ++result->tooLong;
                } else {
                    if (value != text) {
                        s = table.replace(field, value);
                        if (s.ok()) s = table.commit();
                        if (!s.ok()) break;
                    }
                    ++result->replaced;
                }
            }
        }
        progress.gauge(int(uint64_t(result->visited) * 100 / total));
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

}  // namespace SearchReplace
