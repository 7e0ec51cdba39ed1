// import-csv, import-dbf, import-old, import-vcard and export: the imports and Copy Records Out
// from the command line, running the same jobs as the windows.

#include <QFileInfo>
#include <optional>
#include <ostream>

#include "AddressFile.h"
#include "AsciiImport.h"
#include "AsciiSample.h"
#include "Cli.h"
#include "Commands.h"
#include "CopyOut.h"
#include "DbfImport.h"
#include "Filter.h"
#include "OlderImport.h"
#include "Table.h"
#include "TerminalProgress.h"
#include "VCard.h"
#include "VCardImport.h"

namespace cli {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

int openAddressFile(const Invocation& in, std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::OpenTableFile(text(in.args.operand(0)), table, &message)) return fail(in, message);
    return kOk;
}

// The pairs of a --match value: "Last Name=1,City=3" gives {"Last Name", "1"}, ...
// False when a part is not NAME=VALUE.
bool matchPairs(const std::string& value, std::vector<std::pair<QString, QString>>* pairs) {
    for (const QString& part : text(value).split(',', Qt::SkipEmptyParts)) {
        const int eq = part.lastIndexOf('=');
        if (eq <= 0 || eq == part.size() - 1) return false;
        pairs->push_back({part.left(eq).trimmed(), part.mid(eq + 1).trimmed()});
    }
    return !pairs->empty();
}

int badMatch(const Invocation& in, const QString& form) {
    in.messages.error("--match takes " + form + " pairs separated by commas");
    return kUsage;
}

// The import's messages: on standard output when every record is in and indexed,
// else on standard error with exit code 1.
int finishImport(const Invocation& in, const ImportReport& report, xbase::Table& table) {
    const xbase::Status closed = table.close();
    if (report.succeeded() && closed.ok()) {
        for (QString m : report.messages) in.out << m.replace("\r\n", "\n").toStdString() << "\n";
        return kOk;
    }
    for (const QString& m : report.messages) in.messages.error(m);
    if (!report.rebuildError.isEmpty()) in.messages.error(report.rebuildError);
    if (!closed.ok()) in.messages.error(text(closed.message()));
    return kFailed;
}

}  // namespace

int importCsvCommand(const Invocation& in) {
    const QString path = text(in.args.operand(1));
    std::vector<std::pair<QString, QString>> pairs;
    if (in.args.has("--match") && !matchPairs(in.args.value("--match"), &pairs))
        return badMatch(in, "LABEL=N");
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;

    std::optional<CsvDialect::Dialect> dialect;
    if (in.args.has("--dialect")) {
        CsvDialect::Dialect d;
        if (!CsvDialect::FromName(in.args.value("--dialect"), &d)) return usage(in);
        dialect = d;
    }
    const std::vector<Destination> destinations = ImportDestinations::Ascii(*table);
    AsciiSample sample;
    QString message;
    if (!ReadAsciiSample(path, text(in.args.value("--encoding")), &sample, &message, dialect, destinations))
        return fail(in, message);
    AsciiImportSetup setup;
    setup.path = path;
    setup.encoding = sample.encoding;
    setup.dialect = sample.dialect;
    setup.fieldCount = sample.fieldCount;
    // Without --match a first line of column names is looked for, as the window does.
    setup.firstLineNames = in.args.has("--header") || (pairs.empty() && sample.headerDetected);
    setup.match = FieldMatch(destinations, sample.sources(setup.firstLineNames), FieldMatch::Rules::Any);
    if (setup.firstLineNames) setup.match.matchByNames(sample.firstLineNames());
    for (const auto& [label, number] : pairs) {
        bool isNumber = false;
        const int n = number.toInt(&isNumber);
        if (!isNumber) return badMatch(in, "LABEL=N");
        const int row = setup.match.rowNamed(label);
        if (row < 0) return fail(in, "The address file has no field " + label + " to import into");
        if (n < 1 || n > sample.fieldCount) {
            return fail(in, QStringLiteral("Field %1 is not in %2: its first line has %3 fields")
                                .arg(n)
                                .arg(path)
                                .arg(sample.fieldCount));
        }
        setup.match.assign(row, n - 1);
    }
    if (!setup.match.any()) return fail(in, "No field is matched: give --match LABEL=N,... or --header");
    if (!in.args.has("--dialect") && sample.dialectDetected) {
        in.err << "Reading " << path.toStdString() << " as "
               << (setup.dialect == CsvDialect::Dialect::Own ? "the program's own text" : "RFC 4180 CSV")
               << " (--dialect " << CsvDialect::Name(setup.dialect) << ")\n";
    }

    ImportReport report;
    RunOnTerminal(
        [&](JobProgress& progress) {
            report = RunAsciiImport(*table, setup, progress);
            return report.result;
        },
        in.err);
    return finishImport(in, report, *table);
}

int importDbfCommand(const Invocation& in) {
    const QString path = text(in.args.operand(1));
    std::vector<std::pair<QString, QString>> pairs;
    if (in.args.has("--match") && !matchPairs(in.args.value("--match"), &pairs)) {
        return badMatch(in, "LABEL=SOURCEFIELD");
    }
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    std::unique_ptr<xbase::Table> source;
    QString message;
    if (!DbfImport::OpenSource(path, text(in.args.operand(0)), &source, &message)) return fail(in, message);
    FieldMatch match = DbfImport::NewMatch(*table, *source);
    if (pairs.empty()) match.autoMatch();
    for (const auto& [label, name] : pairs) {
        const int row = match.rowNamed(label);
        if (row < 0) return fail(in, "The address file has no field " + label + " to import into");
        const int field = source->fieldIndex(name.toStdString());
        if (field < 0) return fail(in, path + " has no field " + name);
        if (!match.fits(row, field)) {
            return fail(in, QStringLiteral("The field %1 (type %2) cannot go into %3")
                                .arg(name.toUpper())
                                .arg(QChar(source->field(field).type))
                                .arg(match.destinations()[size_t(row)].label));
        }
        match.assign(row, field);
    }
    if (!match.any())
        return fail(in, "No field of " + path + " matches a field of the address file; give --match");
    ImportReport report;
    RunOnTerminal(
        [&](JobProgress& progress) {
            report = DbfImport::Run(*table, *source, match, progress);
            return report.result;
        },
        in.err);
    return finishImport(in, report, *table);
}

int importOldCommand(const Invocation& in) {
    const std::string& version = in.args.value("--version");
    if (version != "1" && version != "2") return usage(in);
    const OlderImport::Version v = version == "1" ? OlderImport::Version::V1 : OlderImport::Version::V2;
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    std::unique_ptr<xbase::Table> source;
    QString message;
    if (!OlderImport::OpenSource(text(in.args.operand(1)), text(in.args.operand(0)), v, &source, &message)) {
        return fail(in, message);
    }
    ImportReport report;
    RunOnTerminal(
        [&](JobProgress& progress) {
            report = OlderImport::Run(*table, *source, v, progress);
            return report.result;
        },
        in.err);
    return finishImport(in, report, *table);
}

int importVCardCommand(const Invocation& in) {
    VCardImportSetup setup;
    setup.path = text(in.args.operand(1));
    const std::string& address = in.args.value("--address");
    if (address == "home") {
        setup.choices.address = VCardRecord::AddressChoice::Home;
    } else if (address == "work") {
        setup.choices.address = VCardRecord::AddressChoice::Work;
    } else if (!address.empty() && address != "pref") {
        return usage(in);
    }
    const std::string& birthday = in.args.value("--birthday");
    if (!birthday.empty() && birthday != "USER1" && birthday != "USER2") return usage(in);
    setup.choices.birthdayField = text(birthday);
    setup.stopAtBadCard = in.args.has("--stop-at-bad-card");
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    QString message;
    VCard::Reader probe;
    if (!probe.open(setup.path, &message)) return fail(in, message);
    ImportReport report;
    RunOnTerminal(
        [&](JobProgress& progress) {
            report = RunVCardImport(*table, setup, progress);
            return report.result;
        },
        in.err);
    return finishImport(in, report, *table);
}

int exportCommand(const Invocation& in) {
    const QString out = text(in.args.operand(1));
    const CopyOut::Kind kind = in.args.has("--dbf")     ? CopyOut::Kind::Dbf
                               : in.args.has("--text")  ? CopyOut::Kind::Text
                               : in.args.has("--vcard") ? CopyOut::Kind::VCard
                                                        : CopyOut::Kind::Csv;
    if (in.args.has("--raw") && kind != CopyOut::Kind::Csv) return usage(in);
    CopyOut::Options options;
    options.formulaGuard = !in.args.has("--raw");
    const FilterOptions filter = FilterOptionsOf(in.args);
    if (in.args.has("--all") && !filter.file.empty()) return usage(in);
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    table->setDeleted(true);
    const std::string& orderName = in.args.value("--order");
    if (!orderName.empty()) {
        const int order = table->tagArea(orderName);
        if (order == 0 || !table->setOrder(order).ok())
            return fail(in, text("The table has no tag " + orderName));
    }
    // Every record not deleted, or those of the saved filter, as the window selects them.
    if (const int code = applyQuery(in, *table, filter.file.empty() ? Filter::kNotDeleted : "", filter);
        code != kOk) {
        return code;
    }
    if (table->queryRecCount() == 0) return fail(in, CopyOut::kNothingToCopy);

    QString message;
    switch (CopyOut::CheckTarget(out, kind, text(in.args.operand(0)), &message)) {
        case CopyOut::Check::Refused:
            return fail(in, message);
        case CopyOut::Check::AskOverwrite:
            if (!in.messages.ask(message, CopyOut::kOverwriteCaption, Messages::Preset::No)) return kFailed;
            break;
        case CopyOut::Check::Ok:
            break;
    }
    uint32_t copied = 0;
    QString error;
    const JobResult result = RunOnTerminal(
        [&](JobProgress& progress) {
            return CopyOut::Run(*table, kind, out, progress, &copied, &error, nullptr, options);
        },
        in.err);
    if (result != JobResult::Done) return fail(in, error);
    if (!table->close().ok()) return fail(in, "Cannot close " + text(in.args.operand(0)));
    in.out << "Copied " << copied << " records to " << out.toStdString() << "\n";
    return kOk;
}

}  // namespace cli
