// letters, letter-merge, letter-defs, letter-import and letter-export: the stored
// letters and their printing from the command line.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextDocument>
#include <memory>
#include <ostream>

#include "AddressFile.h"
#include "AppHome.h"
#include "CheckPrinters.h"
#include "Cli.h"
#include "Commands.h"
#include "LetterMerge.h"
#include "LetterPage.h"
#include "LetterPrint.h"
#include "LetterStore.h"
#include "LetterText.h"
#include "PrinterDevice.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "TReportPrinter.h"
#include "Table.h"
#include "TerminalProgress.h"
#include "FileSystem.h"

namespace cli {

namespace {

// No letter file we take in is larger than this.
constexpr qint64 kMaxLetterBytes = 16 * 1024 * 1024;

QString operandText(const Invocation& in, size_t i) { return QString::fromStdString(in.args.operand(i)); }

// A whole number from an option's value, within [low, high]; false when it is not one.
bool numberOption(const Invocation& in, const char* option, long low, long high, long* value) {
    bool ok = false;
    *value = QString::fromStdString(in.args.value(option)).toLong(&ok);
    return ok && *value >= low && *value <= high;
}

int openStore(const Invocation& in, std::unique_ptr<LetterStore>* store) {
    QString message;
    if (!LetterStore::Open(AppHome(QString::fromStdString(in.home)), store, &message))
        return fail(in, message);
    return kOk;
}

// The stored letter named by --letter (or by `description`), read into `letter`.
int loadLetter(const Invocation& in, LetterStore& store, const QString& description, QTextDocument* letter) {
    const uint32_t recNo = store.find(description);
    if (recNo == 0) return fail(in, "There is no letter \"" + description + "\"");
    QString error;
    if (!store.LoadRichText(recNo, letter, &error)) return fail(in, error);
    return kOk;
}

// The address file positioned on record `recNo`.
int openAtRecord(const Invocation& in, long recNo, std::unique_ptr<xbase::Table>* table) {
    const QString path = operandText(in, 0);
    QString message;
    if (!AddressFile::OpenTableFile(path, table, &message)) return fail(in, message);
    const xbase::Status s = (*table)->go(uint32_t(recNo));
    if (!s.ok() || (*table)->eof())
        return fail(in, QString("Record %1 not found in %2").arg(recNo).arg(path));
    return kOk;
}

// The paper code of a letter's sheet for the printer device: Letter, A4, or the size
// itself.
void setPaperOf(PrinterDevice& device, const LetterPage& page) {
    if (page.paperWidth == 12240 && page.paperHeight == 15840) {
        (void)device.setPaperSize(1);
    } else if (std::abs(page.paperWidth - 11906) <= 2 && std::abs(page.paperHeight - 16838) <= 2) {
        (void)device.setPaperSize(9);
    } else {
        (void)device.setPaperSize(0, double(page.paperWidth) / LetterPage::kTwipsPerInch,
                                  double(page.paperHeight) / LetterPage::kTwipsPerInch);
    }
}

}  // namespace

int letterDefsCommand(const Invocation& in) {
    std::unique_ptr<LetterStore> store;
    if (const int code = openStore(in, &store); code != kOk) return code;
    for (const LetterStore::Entry& e : store->letters()) in.out << e.description.toStdString() << "\n";
    return kOk;
}

int letterImportCommand(const Invocation& in) {
    const QString description = operandText(in, 0);
    const QString path = operandText(in, 1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(in, "Unable to open " + path);
    if (file.size() > kMaxLetterBytes) return fail(in, path + " is too large for a letter");
    const QByteArray rtf = file.readAll();
    if (!rtf.trimmed().startsWith("{\\rtf")) return fail(in, path + " is not an RTF file");
    if (description.trimmed().isEmpty()) return fail(in, "A letter needs a description");

    std::unique_ptr<LetterStore> store;
    if (const int code = openStore(in, &store); code != kOk) return code;
    const uint32_t existing = store->find(description);
    QString error;
    if (!store->SaveRichText(existing, description, rtf, &error)) return fail(in, error);
    in.out << (existing ? "Replaced" : "Stored") << " letter \"" << description.toStdString() << "\"\n";
    return kOk;
}

int letterExportCommand(const Invocation& in) {
    const QString description = operandText(in, 0);
    const QString path = operandText(in, 1);
    std::unique_ptr<LetterStore> store;
    if (const int code = openStore(in, &store); code != kOk) return code;
    QTextDocument letter;
    if (const int code = loadLetter(in, *store, description, &letter); code != kOk) return code;
    const xbase::NewFileMode mode(QFile::encodeName(path).toStdString());
    QFile file(path);
    const QByteArray rtf = RtfWriter::Write(letter);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(rtf) != rtf.size() ||
        !file.flush())
        return fail(in, "Unable to write " + path);
    mode.written();
    in.out << "Wrote letter \"" << description.toStdString() << "\" to " << path.toStdString() << "\n";
    return kOk;
}

int letterMergeCommand(const Invocation& in) {
    const QString description = QString::fromStdString(in.args.value("--letter"));
    long recNo = 0;
    if (!numberOption(in, "--recno", 1, 0xFFFFFFFFL, &recNo)) return usage(in);
    // Text layout and fonts need the GUI side of Qt.
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    std::unique_ptr<LetterStore> store;
    if (const int code = openStore(in, &store); code != kOk) return code;
    QTextDocument letter;
    if (const int code = loadLetter(in, *store, description, &letter); code != kOk) return code;
    std::unique_ptr<xbase::Table> table;
    if (const int code = openAtRecord(in, recNo, &table); code != kOk) return code;

    LetterMerge::ReplaceTokens(&letter, LetterMerge::Address::FromRecord(*table));
    if (in.args.has("--rtf")) {
        in.out << RtfWriter::Write(letter).toStdString();
    } else {
        in.out << LetterText::PlainText(letter).toStdString();
    }
    return kOk;
}

int lettersCommand(const Invocation& in) {
    const QString description = QString::fromStdString(in.args.value("--letter"));
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    const bool all = in.args.has("--all"), filtered = in.args.has("--filter"), one = in.args.has("--recno");
    if (int(all) + int(filtered) + int(one) > 1) return usage(in);
    long copies = 1, recNo = 0, startRecNo = 0;
    if (in.args.has("--copies") && !numberOption(in, "--copies", 1, 999, &copies)) return usage(in);
    if (one && !numberOption(in, "--recno", 1, 0xFFFFFFFFL, &recNo)) return usage(in);
    if (in.args.has("--start-recno") && !numberOption(in, "--start-recno", 1, 0xFFFFFFFFL, &startRecNo))
        return usage(in);
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    std::unique_ptr<LetterStore> store;
    if (const int code = openStore(in, &store); code != kOk) return code;
    QTextDocument letter;
    if (const int code = loadLetter(in, *store, description, &letter); code != kOk) return code;

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;

    LetterPrint::Choice choice;
    choice.copies = int(copies);
    choice.records = one ? LetterPrint::Records::Current
                         : (filtered ? LetterPrint::Records::Filter : LetterPrint::Records::All);
    if (one || startRecNo > 0) {
        const xbase::Status s = table->go(uint32_t(one ? recNo : startRecNo));
        if (!s.ok() || table->eof())
            return fail(in, QString("Record %1 not found in %2").arg(one ? recNo : startRecNo).arg(operandText(in, 0)));
        choice.startFromCurrent = startRecNo > 0 && !one;
    } else {
        (void)table->goTop();
    }

    PrinterDevice* chosen = nullptr;
    if (const int code = SelectPrinter(in, pdf, printerName, &chosen); code != kOk) return code;
    PrinterDevice& device = *chosen;
    if (!pdf.isEmpty()) setPaperOf(device, LetterPage::Of(letter));

    TReportPrinter report(&device);
    report.Title = description;
    LetterPrint::LetterJob job(*table, letter, choice);
    if (const int code = runPrintJob(in, job, report, LetterPrint::kCanceled); code != kOk) return code;
    in.out << LetterPrint::kCompleted.toStdString() << " " << job.counts().toStdString() << " to "
           << (pdf.isEmpty() ? printerName : pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
