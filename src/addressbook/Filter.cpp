#include "Filter.h"

#include <QStringList>

#include "CodePage.h"
#include "TableText.h"

namespace Filter {

namespace {

// The entries in the order their conditions are joined (not the order of the file).
constexpr FilterCriteria::Entry kQueryOrder[] = {
    FilterCriteria::Last,     FilterCriteria::First,    FilterCriteria::Title,    FilterCriteria::Org,
    FilterCriteria::Address1, FilterCriteria::Address2, FilterCriteria::Zip,      FilterCriteria::City,
    FilterCriteria::State,    FilterCriteria::Country,  FilterCriteria::Phone1,   FilterCriteria::Phone2,
    FilterCriteria::Fax,      FilterCriteria::EMail,    FilterCriteria::Comment1, FilterCriteria::Comment2,
    FilterCriteria::Date,     FilterCriteria::Codes,
};

// A text literal for `value`. A double quote cannot stand inside "...", so such a value
// becomes "a"+'"'+"b"; without one it is simply "value".
QString quoted(const QString& value) {
    const QStringList parts = value.split(QLatin1Char('"'));
    QString out;
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) out += QStringLiteral("+'\"'+");
        out += QLatin1Char('"') + parts[i] + QLatin1Char('"');
    }
    return out;
}

}  // namespace

QString UpperForTable(const QString& text) {
    return QString::fromStdString(xbase::CodePage::windows1252().upperUtf8(text.toStdString()));
}

QString BuildFieldCondition(const QString& field, const QString& text) {
    struct ListKind {
        QChar separator;
        const char* joiner;
    };
    static const ListKind kLists[] = {{';', ".or."}, {'+', ".and."}, {'^', ".and..not."}};
    for (const ListKind& list : kLists) {
        if (!text.contains(list.separator)) continue;
        QString out = QStringLiteral("(");
        const QStringList pieces = text.split(list.separator);
        for (int i = 0; i < pieces.size(); ++i) {
            if (i > 0) out += QLatin1String(list.joiner);
            out += QLatin1Char('(') + BuildFieldCondition(field, pieces[i]) + QLatin1Char(')');
        }
        return out + QLatin1Char(')');
    }

    static const char* const kOperators[] = {">=", ">", "<=", "<", "$"};
    QString op = QStringLiteral("=");
    QString value = text;
    for (const char* candidate : kOperators) {
        const QLatin1String o(candidate);
        if (text.startsWith(o)) {
            op = o;
            value = text.mid(o.size(), kMaxOperatorValue);
            break;
        }
    }
    const QString literal = quoted(UpperForTable(value));
    const QString upperField = QStringLiteral("UPPER(") + field + QLatin1Char(')');
    if (op == QLatin1String("$")) return literal + QLatin1Char('$') + upperField;
    return upperField + op + literal;
}

QString BuildQueryString(const FilterCriteria& criteria, const QString& globalTagId) {
    QString expression;
    QString joiner;
    for (FilterCriteria::Entry entry : kQueryOrder) {
        const QString& text = criteria[entry];
        if (text.trimmed().isEmpty()) continue;
        expression += joiner + BuildFieldCondition(FilterCriteria::fieldExpression(entry), text);
        joiner = QStringLiteral(" and ");
    }
    if (criteria.tagged) {
        expression += joiner + QStringLiteral("(UPPER(TAG)=") + quoted(globalTagId) + QLatin1Char(')');
    }
    if (!expression.isEmpty() && criteria.reverse) expression = QStringLiteral("(!(") + expression + "))";
    return expression;
}

QString QueryFor(const QString& filterExpression) {
    if (filterExpression.isEmpty()) return QString::fromLatin1(kNotDeleted);
    return filterExpression + QLatin1String(kNotDeletedJoin);
}

bool TooComplex(const QString& filterExpression) {
    return filterExpression.size() + int(sizeof(kNotDeletedJoin) - 1) > kMaxQueryLength;
}

void ClearQueryVars(State& state) {
    state.criteria.clear();
    state.expression.clear();
}

ApplyResult ApplyFilter(xbase::Table& table, State& state, const QString& globalTagId) {
    ApplyResult result;
    state.expression = BuildQueryString(state.criteria, globalTagId);
    const auto unfiltered = [&] { (void)table.query(kNotDeleted); };
    if (state.expression.isEmpty()) {
        unfiltered();
        return result;
    }
    if (TooComplex(state.expression)) {
        result.message = kTooComplexMessage;
        unfiltered();
        ClearQueryVars(state);
        return result;
    }
    std::string query;
    xbase::Status s = TableText::encode(table.codePage(), QueryFor(state.expression), &query);
    if (s.ok()) s = table.query(query);
    if (!s.ok()) {
        // Text the file's code page cannot hold can match nothing in it; say why
        // rather than drop the filter without a word.
        result.message = QString::fromStdString(s.message());
        unfiltered();
        ClearQueryVars(state);
        return result;
    }
    result.matches = table.queryRecCount();
    if (result.matches == 0) {
        ClearQueryVars(state);
        unfiltered();
    }
    return result;
}

QString MatchText(const State& state, uint32_t matches) {
    if (state.expression.isEmpty()) return QStringLiteral("No filter set");
    return QString::number(matches) + QStringLiteral(" matches");
}

}  // namespace Filter
