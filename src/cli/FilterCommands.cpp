// filter, and the --filter option of count and dump: saved filters from the command line.

#include <ostream>

#include "AddressFile.h"
#include "AppHome.h"
#include "Cli.h"
#include "CodePage.h"
#include "Commands.h"
#include "Filter.h"
#include "LayoutFile.h"
#include "FilterFile.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "Table.h"
#include "TagId.h"

namespace cli {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

int FilterExpressionFromFile(const Invocation& in, const FilterOptions& options, QString* expression) {
    QString message;
    FilterCriteria criteria;
    const QString path = text(options.file);
    if (!FilterFile::CheckRestoreName(path, &message) ||
        !FilterFile::RestoreFilterFrom(path, &criteria, &message)) {
        return fail(in, message);
    }
    QString tagId = text(options.tagId);
    if (!options.tagIdGiven) {
        tagId = Settings(Settings::GetIniFileName(AppHome(text(in.home)))).value(setting::kGlobalTagId);
    }
    if (options.tagIdGiven && !TagId::isValid(tagId)) {
        in.messages.error(
            QStringLiteral("--tag-id %1 is not a tag identifier (1 to %2 digits or capital letters)")
                .arg(text(options.tagId))
                .arg(TagId::kMaxLength));
        return kUsage;
    }
    // Without an identifier "Tagged" would test for an empty TAG: every untagged record.
    if (criteria.tagged && !TagId::isValid(tagId)) {
        return fail(in, QStringLiteral("The filter asks for tagged records, but the settings hold no tag "
                                       "identifier (Misc/GlobalTagId); give one with --tag-id"));
    }
    *expression = Filter::BuildQueryString(criteria, tagId);
    return kOk;
}

int FilterQueryFromFile(const Invocation& in, const FilterOptions& options, QString* query) {
    QString expression;
    const int code = FilterExpressionFromFile(in, options, &expression);
    if (code != kOk) return code;
    if (Filter::TooComplex(expression)) {
        return fail(in, Filter::kTooComplexMessage);
    }
    *query = Filter::QueryFor(expression);
    return kOk;
}

int applyQuery(const Invocation& in, xbase::Table& table, const std::string& expr,
               const FilterOptions& filter) {
    std::string query = expr;
    if (!filter.file.empty()) {
        QString filterQuery;
        const int code = FilterQueryFromFile(in, filter, &filterQuery);
        if (code != kOk) return code;
        query = filterQuery.toStdString();
        if (!expr.empty()) query = "(" + query + ") .and. (" + expr + ")";
    }
    std::string raw;
    xbase::Status s = table.codePage().fromUtf8(query, &raw);
    if (s.ok()) s = table.query(raw);
    return s.ok() ? kOk : fail(in, QString::fromStdString(s.message()));
}

const Option kFilterOption{"--filter", "FILE.FLT"};
const Option kTagIdOption{"--tag-id", "ID", "--filter"};

int openSelection(const Invocation& in, std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::OpenTableFile(QString::fromStdString(in.args.operand(0)), table, &message))
        return fail(in, message);
    (*table)->setDeleted(true);
    const std::string order = in.args.value("--order");
    if (!order.empty()) {
        const int area = (*table)->tagArea(order);
        if (area == 0 || !(*table)->setOrder(area).ok())
            return fail(in, QString::fromStdString("The table has no tag " + order));
    }
    const FilterOptions filter = FilterOptionsOf(in.args);
    return applyQuery(in, **table, filter.file.empty() ? Filter::kNotDeleted : "", filter);
}

FilterOptions FilterOptionsOf(const Arguments& args) {
    FilterOptions options;
    options.file = args.value("--filter");
    options.tagId = args.value("--tag-id");
    options.tagIdGiven = args.has("--tag-id");
    return options;
}

int filterCommand(const Invocation& in) {
    FilterOptions options;
    options.file = in.args.operand(0);
    options.tagId = in.args.value("--tag-id");
    options.tagIdGiven = in.args.has("--tag-id");
    QString expression;
    const int code = FilterExpressionFromFile(in, options, &expression);
    if (code != kOk) return code;
    in.out << expression.toStdString() << "\n";
    return kOk;
}

int positionSelection(const Invocation& in, xbase::Table& table, bool* startFromCurrent) {
    *startFromCurrent = false;
    const bool one = in.args.has("--recno");
    const char* option = one ? "--recno" : in.args.has("--start-recno") ? "--start-recno" : nullptr;
    if (!option) {
        (void)table.goTop();
        return table.eof() ? fail(in, "There are no records to print") : kOk;
    }
    bool ok = false;
    const long recNo = QString::fromStdString(in.args.value(option)).toLong(&ok);
    if (!ok || recNo < 1 || recNo > 0xFFFFFFFFL) return usage(in);
    const xbase::Status s = table.go(uint32_t(recNo));
    if (!s.ok() || table.eof())
        return fail(in, QString("Record %1 not found in %2").arg(recNo).arg(QString::fromStdString(in.args.operand(0))));
    *startFromCurrent = !one;
    return kOk;
}

int loadPrintLayout(const Invocation& in, const QString& path, const QString& binary, layout::LayoutFile* layout) {
    if (const LayoutStatus loaded = layout->Load(path); !loaded.ok()) return fail(in, binary + ": " + loaded.message());
    return kOk;
}

}  // namespace cli
