// filter, and the --filter option of count and dump: saved filters from the command line.

#include <ostream>

#include "AppHome.h"
#include "Cli.h"
#include "Commands.h"
#include "Filter.h"
#include "FilterFile.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "CodePage.h"
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
        in.err << "quillory: " << message.toStdString() << "\n";
        return kFailed;
    }
    QString tagId = text(options.tagId);
    if (!options.tagIdGiven) {
        tagId = Settings(Settings::GetIniFileName(AppHome(text(in.home)))).value(setting::kGlobalTagId);
    }
    if (options.tagIdGiven && !TagId::isValid(tagId)) {
        in.err << "quillory: --tag-id " << options.tagId << " is not a tag identifier (1 to "
               << TagId::kMaxLength << " digits or capital letters)\n";
        return kUsage;
    }
    // Without an identifier "Tagged" would test for an empty TAG: every untagged record.
    if (criteria.tagged && !TagId::isValid(tagId)) {
        in.err << "quillory: The filter asks for tagged records, but the settings hold no tag identifier "
                  "(Misc/GlobalTagId); give one with --tag-id\n";
        return kFailed;
    }
    *expression = Filter::BuildQueryString(criteria, tagId);
    return kOk;
}

int FilterQueryFromFile(const Invocation& in, const FilterOptions& options, QString* query) {
    QString expression;
    const int code = FilterExpressionFromFile(in, options, &expression);
    if (code != kOk) return code;
    if (Filter::TooComplex(expression)) {
        in.err << "quillory: " << Filter::kTooComplexMessage.toStdString() << "\n";
        return kFailed;
    }
    *query = Filter::QueryFor(expression);
    return kOk;
}

int applyQuery(const Invocation& in, xbase::Table& table, const std::string& expr, const FilterOptions& filter) {
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

bool TakeFilterOption(const std::vector<std::string>& args, size_t* i, FilterOptions* options) {
    const std::string& a = args[*i];
    if ((a != "--filter" && a != "--tag-id") || *i + 1 >= args.size()) return false;
    if (a == "--filter") {
        options->file = args[++*i];
    } else {
        options->tagId = args[++*i];
        options->tagIdGiven = true;
    }
    return true;
}

int filterCommand(const Invocation& in) {
    FilterOptions options;
    bool wrong = false;
    for (size_t i = 0; i < in.args.size() && !wrong; ++i) {
        const std::string& a = in.args[i];
        if (a == "--tag-id" && i + 1 < in.args.size()) {
            options.tagId = in.args[++i];
            options.tagIdGiven = true;
        } else if (a.rfind("--", 0) == 0 || !options.file.empty()) {
            wrong = true;
        } else {
            options.file = a;
        }
    }
    if (wrong || options.file.empty()) {
        in.err << "quillory: usage: quillory filter FILE.FLT [--tag-id ID]\n";
        return kUsage;
    }
    QString expression;
    const int code = FilterExpressionFromFile(in, options, &expression);
    if (code != kOk) return code;
    in.out << expression.toStdString() << "\n";
    return kOk;
}

}  // namespace cli
