// duplicates, convert-case, replace, delete-records, statezip and dial: the
// maintenance tools from the command line, through the same logic as their windows.

#include <unistd.h>

#include <QFile>
#include <QRegularExpression>
#include <iostream>
#include <ostream>
#include <sstream>
#include <string>

#include "AddressFile.h"
#include "AppHome.h"
#include "CaseConversion.h"
#include "Cli.h"
#include "CodePage.h"
#include "Commands.h"
#include "DeleteRecords.h"
#include "DialingSettings.h"
#include "DuplicateCheck.h"
#include "Filter.h"
#include "Preferences.h"
#include "SearchReplace.h"
#include "Settings.h"
#include "StateZipCheck.h"
#include "SystemTables.h"
#include "TDialer.h"
#include "Table.h"
#include "TagAll.h"
#include "TerminalProgress.h"

namespace cli {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// Opens the address file of operand 0 exclusively, deleted records hidden.
int openAddressFile(const Invocation& in, std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::OpenTableFile(text(in.args.operand(0)), table, &message)) return fail(in, message);
    (*table)->setDeleted(true);
    return kOk;
}

int tableFailure(const Invocation& in, const xbase::Status& s) { return fail(in, text(s.message())); }

// A whole number from an option's value; false when it is none or out of range.
bool wholeNumber(const std::string& value, int low, int high, int* out) {
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos || value.size() > 9)
        return false;
    *out = std::stoi(value);
    return *out >= low && *out <= high;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> parts;
    std::stringstream ss(list);
    std::string part;
    while (std::getline(ss, part, ',')) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

// The records of the index now current, as CSV: the record number and `fields`.
void writeRecords(const Invocation& in, xbase::Table& table, const std::vector<const char*>& fields) {
    in.out << "RECNO";
    for (const char* f : fields) in.out << "," << f;
    in.out << "\n";
    const xbase::CodePage& cp = table.codePage();
    for (xbase::Status s = table.goTop(); s.ok() && !table.eof(); s = table.skip(1)) {
        in.out << table.recNo();
        for (const char* f : fields) {
            in.out << ",";
            writeCsvValue(in.out, cp.toUtf8(table.getTrimString(table.fieldIndex(f))));
        }
        in.out << "\n";
    }
}

// Tags every record of the current order with the home's tag identifier (made and
// stored when the home has none, as the desktop program does at start).
int tagAll(const Invocation& in, xbase::Table& table) {
    Settings settings(Settings::GetIniFileName(AppHome(text(in.home))));
    const QString tagId = Preferences::LoadPreferences(settings).globalTagId;
    const TagAll::Result tagged = TagAll::TagAll(table, tagId);
    if (tagged.outcome == TagAll::Outcome::Failed) return fail(in, tagged.message);
    in.out << "Tagged " << tagged.tagged << " records with " << tagId.toStdString() << "\n";
    return kOk;
}

// The user's filter of a saved .FLT file as FilterExpression (without the
// not-deleted condition), refusing one too long for the table's query.
int filterExpression(const Invocation& in, const FilterOptions& options, QString* expression) {
    const int code = FilterExpressionFromFile(in, options, expression);
    if (code != kOk) return code;
    if (Filter::TooComplex(*expression)) return fail(in, Filter::kTooComplexMessage);
    return kOk;
}

// The questions a tool's window asks before it changes records. On the command line
// the command as typed is the answer: the question is shown and taken as Yes. Other
// messages go where every command's go.
class CommandConfirms : public Messages {
  public:
    explicit CommandConfirms(Messages& to) : to_(to) {}
    void inform(const QString& t, const QString& caption) override { to_.inform(t, caption); }
    void warn(const QString& t, const QString& caption) override { to_.warn(t, caption); }
    void error(const QString& t, const QString& caption) override { to_.error(t, caption); }
    bool ask(const QString& t, const QString& caption, Preset) override {
        to_.inform(t + QStringLiteral(" Yes"), caption);
        return true;
    }

  private:
    Messages& to_;
};

}  // namespace

int duplicatesCommand(const Invocation& in) {
    DuplicateCheck::Options options;
    const std::string kind = in.args.value("--by");
    if (kind == "name") {
        options.kind = DuplicateCheck::Kind::LastFirst;
    } else if (kind == "initial") {
        options.kind = DuplicateCheck::Kind::LastFirstInitial;
    } else if (kind == "street") {
        options.kind = DuplicateCheck::Kind::Street;
    } else {
        in.err << "quillory: --by is name (last + first), initial (last + first initial) or street\n";
        return usage(in);
    }
    if (in.args.has("--chars")) {
        if (options.kind != DuplicateCheck::Kind::Street) {
            in.err << "quillory: --chars goes with --by street\n";
            return usage(in);
        }
        if (!wholeNumber(in.args.value("--chars"), 1, DuplicateCheck::kMaxStreetLength, &options.streetLength)) {
            in.err << "quillory: --chars is a number from 1 to " << DuplicateCheck::kMaxStreetLength << "\n";
            return usage(in);
        }
    }
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    if (const xbase::Status s = table->query(Filter::kNotDeleted); !s.ok()) return tableFailure(in, s);
    const QString indexPath = AppHome(text(in.home)).existingFile(DuplicateCheck::kIndexFileName);
    DuplicateCheck::Result result;
    QString error;
    const JobResult ran = RunOnTerminal(
        [&](JobProgress& p) {
            return DuplicateCheck::RunDuplicateScan(*table, options, indexPath, p, &result, &error);
        },
        in.err);
    if (ran != JobResult::Done) return fail(in, error);
    in.out << DuplicateCheck::FoundText(result.matches).toStdString() << "\n";
    int code = kOk;
    if (result.matches > 0) {
        const xbase::Status s = table->setOrder(result.order);
        if (!s.ok()) {
            code = tableFailure(in, s);
        } else {
            writeRecords(in, *table, {"LNAME", "FNAME", "STREET", "CITY", "STATE", "ZIP"});
            if (in.args.has("--tag")) code = tagAll(in, *table);
        }
    }
    DuplicateCheck::RemoveIndex(*table, result.order, indexPath);
    return code;
}

int convertCaseCommand(const Invocation& in) {
    CaseConversion::Options options;
    const std::string rule = in.args.value("--case");
    if (rule == "upper") {
        options.rule = CaseConversion::Rule::Upper;
    } else if (rule == "lower") {
        options.rule = CaseConversion::Rule::Lower;
    } else if (rule == "capitalize") {
        options.rule = CaseConversion::Rule::Proper;
    } else {
        in.err << "quillory: --case is upper, lower or capitalize\n";
        return usage(in);
    }
    if (!in.args.has("--fields")) {
        for (const CaseConversion::Field& f : CaseConversion::fields()) options.fields << QString::fromLatin1(f.name);
    }
    for (const std::string& name : splitList(in.args.value("--fields"))) {
        bool known = false;
        for (const CaseConversion::Field& f : CaseConversion::fields()) {
            if (text(name).compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0) {
                options.fields << QString::fromLatin1(f.name);
                known = true;
            }
        }
        if (!known) {
            in.err << "quillory: " << name << " cannot be converted; the fields are";
            for (const CaseConversion::Field& f : CaseConversion::fields()) in.err << " " << f.name;
            in.err << "\n";
            return usage(in);
        }
    }
    int recNo = 0;
    if (in.args.has("--recno") && !wholeNumber(in.args.value("--recno"), 1, 999999999, &recNo))
        return usage(in);

    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    if (in.args.has("--filter")) {
        options.records = CaseConversion::Records::Filter;
        if (const int code = applyQuery(in, *table, "", FilterOptionsOf(in.args)); code != kOk) return code;
    } else if (in.args.has("--recno")) {
        options.records = CaseConversion::Records::Current;
        if (const xbase::Status s = table->go(uint32_t(recNo)); !s.ok()) return tableFailure(in, s);
        if (table->eof()) return fail(in, QStringLiteral("The file has no record %1").arg(recNo));
    } else {
        options.records = CaseConversion::Records::All;
    }
    CommandConfirms confirms(in.messages);
    if (!CaseConversion::Confirm(options, confirms)) return kFailed;
    CaseConversion::Result result;
    QString error;
    const JobResult ran = RunOnTerminal(
        [&](JobProgress& p) {
            return CaseConversion::RunCaseConversion(*table, options, p, &result, &error);
        },
        in.err);
    if (ran != JobResult::Done) return fail(in, error);
    if (const xbase::Status s = table->close(); !s.ok()) return tableFailure(in, s);
    in.out << "Converted " << result.converted << " records\n";
    return kOk;
}

int replaceCommand(const Invocation& in) {
    const SearchReplace::Field* field = SearchReplace::findField(text(in.args.value("--field")));
    if (!field) {
        in.err << "quillory: --field is one of";
        for (const SearchReplace::Field& f : SearchReplace::fields()) in.err << " " << f.name;
        in.err << "\n";
        return usage(in);
    }
    SearchReplace::Options options;
    options.field = QString::fromLatin1(field->name);
    options.find = text(in.args.value(in.args.has("--contains") ? "--contains" : "--equals"));
    options.replacement = text(in.args.value("--with"));
    options.match = in.args.has("--contains") ? SearchReplace::Match::Contains : SearchReplace::Match::Equal;
    options.action =
        in.args.has("--whole") ? SearchReplace::Action::WholeField : SearchReplace::Action::MatchingText;
    options.caseSensitive = !in.args.has("--ignore-case");
    // An empty field or an empty text holds nothing to replace a part of.
    if (options.action == SearchReplace::Action::MatchingText && options.find.isEmpty()) {
        in.err << "quillory: --matching needs a text to match (--equals TEXT or --contains TEXT)\n";
        return usage(in);
    }
    if (in.args.has("--contains") && options.find.isEmpty()) {
        in.err << "quillory: --contains needs a text (--empty finds the empty fields)\n";
        return usage(in);
    }

    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    // The window's boxes take no more than the field holds.
    const int width = table->field(table->fieldIndex(field->name)).width;
    for (const QString* value : {&options.find, &options.replacement}) {
        if (value->size() > width) {
            return fail(in, QStringLiteral("\"%1\" is longer than the field %2 (%3 characters)")
                                .arg(*value, options.field)
                                .arg(width));
        }
    }
    if (in.args.has("--filter")) {
        if (const int code = filterExpression(in, FilterOptionsOf(in.args), &options.filterExpression);
            code != kOk)
            return code;
    }
    CommandConfirms confirms(in.messages);
    if (!confirms.ask(SearchReplace::ConfirmationText(options), SearchReplace::kQuestionCaption, Messages::Preset::Yes))
        return kFailed;
    SearchReplace::Result result;
    QString error;
    const JobResult ran = RunOnTerminal(
        [&](JobProgress& p) { return SearchReplace::RunSearchReplace(*table, options, p, &result, &error); },
        in.err);
    if (ran != JobResult::Done) return fail(in, error);
    if (const xbase::Status s = table->close(); !s.ok()) return tableFailure(in, s);
    in.out << SearchReplace::ReplacedText(result.replaced).toStdString() << "\n"
           << SearchReplace::kDoneMessage.toStdString() << "\n";
    if (result.tooLong > 0)
        in.out << SearchReplace::TooLongText(result.tooLong, result.width).toStdString() << "\n";
    return kOk;
}

int deleteRecordsCommand(const Invocation& in) {
    DeleteRecords::Choice choice = DeleteRecords::Choice::All;
    QString expression;
    if (in.args.has("--all") && in.args.has("--tag-id")) {
        in.err << "quillory: --tag-id goes with --filter or --not-filter\n";
        return usage(in);
    }
    for (const char* option : {"--filter", "--not-filter"}) {
        if (!in.args.has(option)) continue;
        choice = std::string(option) == "--filter" ? DeleteRecords::Choice::Matching
                                                   : DeleteRecords::Choice::NotMatching;
        FilterOptions filter = FilterOptionsOf(in.args);
        filter.file = in.args.value(option);
        if (const int code = filterExpression(in, filter, &expression); code != kOk) return code;
        // Without a condition "matching" would be every record: never guess that.
        if (expression.isEmpty()) {
            return fail(in, QStringLiteral("%1 sets no filter; give --all to delete every record")
                                .arg(text(in.args.value(option))));
        }
    }
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    if (!in.messages.ask(DeleteRecords::kQuestion, DeleteRecords::kQuestionCaption)) return kFailed;
    DeleteRecords::Result result;
    QString error;
    const JobResult ran = RunOnTerminal(
        [&](JobProgress& p) {
            return DeleteRecords::RunDeleteRecords(*table, choice, expression, p, &result, &error);
        },
        in.err);
    if (ran != JobResult::Done) return fail(in, error);
    if (const xbase::Status s = table->close(); !s.ok()) return tableFailure(in, s);
    in.out << DeleteRecords::DeletedText(result.deleted).toStdString() << "\n"
           << "For optimum space usage, run: quillory reindex " << in.args.operand(0) << "\n";
    return kOk;
}

int statezipCommand(const Invocation& in) {
    const AppHome home(text(in.home));
    if (!QFile::exists(home.existingFile(QStringLiteral("sysdata/") +
                                         SystemTables::fileName(SystemTables::Kind::Csz)))) {
        return fail(in, StateZipCheck::kStateTableRemovedMessage);
    }
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAddressFile(in, &table); code != kOk) return code;
    if (const xbase::Status s = table->query(Filter::kNotDeleted); !s.ok()) return tableFailure(in, s);
    std::unique_ptr<xbase::Table> csz;
    QString message;
    if (!SystemTables::OpenCszTable(home, &csz, &message)) return fail(in, message);
    csz->setDeleted(true);
    StateZipCheck::StateTable states(*csz);
    StateZipCheck::Options options;
    options.blanks = in.args.has("--blanks");
    const QString indexPath = StateZipCheck::IndexPath(text(table->path()));
    StateZipCheck::Result result;
    QString error;
    const JobResult ran = RunOnTerminal(
        [&](JobProgress& p) {
            return StateZipCheck::RunStateZipCheck(*table, states, options, indexPath, p, &result, &error);
        },
        in.err);
    (void)csz->close();
    if (ran != JobResult::Done) return fail(in, error);
    in.out << StateZipCheck::FoundText(result.found).toStdString() << "\n";
    int code = kOk;
    if (const xbase::Status s = table->setOrder(result.order); !s.ok()) {
        code = tableFailure(in, s);
    } else if (result.found > 0) {
        writeRecords(in, *table, {"LNAME", "FNAME", "CITY", "STATE", "ZIP"});
        if (in.args.has("--tag")) code = tagAll(in, *table);
    }
    DuplicateCheck::RemoveIndex(*table, result.order, indexPath);
    return code;
}

namespace {

// The command line's side of the dialer: its notices go where every command's go;
// "Pick up phone" waits for Enter when someone is at the terminal, so that the modem
// hangs up only once the handset is up.
class DialMessages : public Messages {
  public:
    explicit DialMessages(Messages& to) : to_(to) {}
    void inform(const QString& t, const QString& caption) override {
        if (t == TDialer::kPickUpPhone && ::isatty(STDIN_FILENO)) {
            to_.inform(t + QStringLiteral(", then press Enter to hang up the modem"), caption);
            std::string line;
            std::getline(std::cin, line);
            return;
        }
        to_.inform(t, caption);
    }
    void warn(const QString& t, const QString& caption) override { to_.warn(t, caption); }
    void error(const QString& t, const QString& caption) override { to_.error(t, caption); }
    bool ask(const QString& t, const QString& caption, Preset preset) override {
        return to_.ask(t, caption, preset);
    }

  private:
    Messages& to_;
};

}  // namespace

int dialCommand(const Invocation& in) {
    const Settings settings(Settings::GetIniFileName(AppHome(text(in.home))));
    DialingSettings dialing = DialingSettings::Load(settings);
    if (in.args.has("--pulse")) dialing.method = TDialer::dmPulse;
    if (in.args.has("--init")) dialing.init = text(in.args.value("--init"));
    TDialer dialer = dialing.dialer(text(in.args.operand(0)));
    if (in.args.has("--port")) {
        // COM1 to COM4 name the serial ports; anything else is the device itself.
        const QString port = text(in.args.value("--port"));
        const QRegularExpressionMatch com =
            QRegularExpression(QStringLiteral("^COM([1-4])$"), QRegularExpression::CaseInsensitiveOption)
                .match(port);
        if (com.hasMatch()) {
            dialer.ComPort = TDialer::TComPort(com.captured(1).toInt() - 1);
        } else {
            dialer.DevicePath = port;
        }
    }
    dialer.Confirm = false;  // the command line given is the confirmation
    DialMessages messages(in.messages);
    if (!dialer.Dial(messages)) return kFailed;
    in.out << "Dialed " << dialer.NumberToDial.toStdString() << " on " << dialer.portName().toStdString()
           << "\n";
    return kOk;
}

}  // namespace cli
