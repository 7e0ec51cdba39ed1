#include "CopyOut.h"

#include <QFile>
#include <QFileInfo>
#include <memory>

#include "BatchAppender.h"
#include "CodePage.h"
#include "CsvDialect.h"
#include "FileSystem.h"
#include "ImportCopy.h"
#include "VCard.h"
#include "VCardRecord.h"
#include "SavedCursor.h"
#include "Table.h"

namespace CopyOut {

namespace {

using xbase::Status;

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// `path` with its extension replaced by `extension`, in the letter case of the old one.
QString withExtension(const QString& path, const QString& extension) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const bool lower = !suffix.isEmpty() && suffix[0].isLower();
    const QString base = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return base + "." + (lower ? extension.toLower() : extension.toUpper());
}

// Where a copy is written until it is whole: beside the target, hidden.
QString partPath(const QString& target) {
    const QFileInfo info(target);
    return info.absolutePath() + "/." + info.completeBaseName() + ".part" +
           (info.suffix().isEmpty() ? QString() : "." + info.suffix());
}

// A file written front to back through a buffer, in large writes.
class Output {
  public:
    Status create(xbase::FileSystem& fs, const std::string& path) { return fs.create(path, &file_); }
    Status write(std::string_view bytes) {
        buffer_.append(bytes);
        return buffer_.size() >= (1u << 20) ? drain() : Status::OK();
    }
    // Writes what is buffered and waits for the disk.
    Status finish() {
        Status s = drain();
        return s.ok() ? file_->sync() : s;
    }
    Status renameTo(const std::string& path) { return file_->renameTo(path); }
    void close() { file_.reset(); }

  private:
    Status drain() {
        Status s = file_->write(offset_, buffer_.data(), buffer_.size());
        offset_ += buffer_.size();
        buffer_.clear();
        return s;
    }
    std::unique_ptr<xbase::File> file_;
    uint64_t offset_ = 0;
    std::string buffer_;
};

std::string_view trimmed(std::string_view v) {
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return v;
}

// One value of a CSV for spreadsheets, as RFC 4180 writes it: in quotes, with quotes
// doubled, when it holds a comma, a quote or a line break, or begins or ends with a
// blank (which spreadsheets would drop); with `guard`, a value a spreadsheet would run
// as a formula gets the formula guard's apostrophe (CsvDialect::NeedsGuard). `raw` is in
// the table's code page.
void appendCsvValue(std::string* line, std::string_view raw, const xbase::CodePage& codePage,
                    std::string* utf8, bool guard) {
    if (guard && CsvDialect::NeedsGuard(raw)) {
        // Marked as text for spreadsheets; the RFC 4180 import takes the mark off again.
        *utf8 = "'" + codePage.toUtf8(raw);
        raw = *utf8;
        guard = false;
    }
    bool quote = !raw.empty() && (raw.front() == ' ' || raw.back() == ' ');
    bool ascii = true;
    for (char c : raw) {
        quote |= c == ',' || c == '"' || c == '\r' || c == '\n';
        ascii &= static_cast<unsigned char>(c) < 0x80;
    }
    std::string_view v = raw;
    if (!ascii && raw.data() != utf8->data()) {
        *utf8 = codePage.toUtf8(raw);
        v = *utf8;
    }
    if (!quote) {
        line->append(v);
        return;
    }
    line->push_back('"');
    for (char c : v) {
        if (c == '"') line->push_back('"');
        line->push_back(c);
    }
    line->push_back('"');
}

// The records of the table's selection, written one by one by `write`; Cancelled or
// Failed (with the reason) as the loop ends.
JobResult eachRecord(xbase::Table& table, JobProgress& progress, uint32_t total, uint32_t* copied,
                     const std::function<Status()>& write, QString* reason) {
    Status s = table.goTop();
    int lastGauge = -1;
    while (s.ok() && !table.eof() && *copied < total) {
        s = write();
        if (!s.ok()) break;
        ++*copied;
        const int percent = int(uint64_t(*copied) * 100 / total);
        if (percent != lastGauge) progress.gauge(lastGauge = percent);
        if (!progress.keepGoing()) return JobResult::Cancelled;
        s = table.skip(1);
    }
    if (!s.ok()) {
        *reason = QString::fromStdString(s.message());
        return JobResult::Failed;
    }
    return JobResult::Done;
}

std::vector<int> fieldIndexes(const xbase::Table& table, QString* reason) {
    std::vector<int> indexes;
    for (const char* name : TextFields()) {
        const int i = table.fieldIndex(name);
        if (i < 0) {
            *reason = QStringLiteral("The file has no field %1").arg(name);
            return {};
        }
        indexes.push_back(i);
    }
    return indexes;
}

JobResult copyText(xbase::Table& table, Kind kind, const Options& options, xbase::FileSystem& fs,
                   const QString& part, uint32_t total, JobProgress& progress, uint32_t* copied, QString* reason,
                   Output* out) {
    std::vector<int> fields = fieldIndexes(table, reason);
    if (fields.empty()) return JobResult::Failed;
    const int memo = table.fieldIndex("MEMO");
    if (kind == Kind::Csv && memo >= 0) fields.push_back(memo);
    Status s = out->create(fs, local(part));
    if (!s.ok()) {
        *reason = QString::fromStdString(s.message());
        return JobResult::Failed;
    }
    std::string line;
    if (kind == Kind::Csv) {
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i) line += ',';
            line += table.field(fields[i]).name;
        }
        line += "\r\n";
        s = out->write(line);
        if (!s.ok()) {
            *reason = QString::fromStdString(s.message());
            return JobResult::Failed;
        }
    }
    const xbase::CodePage& codePage = table.codePage();
    std::string memoText, utf8;
    return eachRecord(
        table, progress, total, copied,
        [&]() -> Status {
            line.clear();
            const char* record = table.recordBytes();
            for (size_t i = 0; i < fields.size(); ++i) {
                const xbase::FieldDef& f = table.field(fields[i]);
                std::string_view value;
                if (f.isMemo()) {
                    Status m = table.getMemo(fields[i], &memoText);
                    if (!m.ok()) return m;
                    value = memoText;
                } else {
                    value = trimmed(std::string_view(record + f.offset, f.width));
                }
                if (i) line += ',';
                if (kind == Kind::Text) {
                    line += '"';
                    line.append(value);
                    line += '"';
                } else {
                    appendCsvValue(&line, value, codePage, &utf8, options.formulaGuard);
                }
            }
            line += "\r\n";
            return out->write(line);
        },
        reason);
}

// One vCard 3.0 per record (VCardRecord::ToContact, VCard::Write).
JobResult copyVCards(xbase::Table& table, xbase::FileSystem& fs, const QString& part, uint32_t total,
                     JobProgress& progress, uint32_t* copied, QString* reason, Output* out) {
    Status s = out->create(fs, local(part));
    if (!s.ok()) {
        *reason = QString::fromStdString(s.message());
        return JobResult::Failed;
    }
    std::string card;
    return eachRecord(
        table, progress, total, copied,
        [&]() -> Status {
            VCardContact contact;
            QString problem;
            if (!VCardRecord::ToContact(table, &contact, &problem)) {
                return Status::Corruption(problem.toStdString());
            }
            card.clear();
            VCard::Write(contact, &card);
            return out->write(card);
        },
        reason);
}

JobResult copyDbf(xbase::Table& table, xbase::FileSystem& fs, const QString& part, uint32_t total,
                  JobProgress& progress, uint32_t* copied, QString* reason,
                  std::unique_ptr<xbase::Table>* copy) {
    const std::vector<int> fields = fieldIndexes(table, reason);
    if (fields.empty()) return JobResult::Failed;
    xbase::TableSpec design;
    design.fields = table.layout().fields();
    design.codePageMark = table.codePageMark();
    Status s = xbase::Table::create(local(part), design, &fs);
    if (s.ok()) s = xbase::Table::open(local(part), xbase::OpenMode::Exclusive, copy, &fs);
    if (!s.ok()) {
        *reason = QString::fromStdString(s.message());
        return JobResult::Failed;
    }
    // The copy has the same fields: text fields go over byte for byte, as trimming and
    // storing them again would leave them.
    std::vector<std::pair<int, int>> sameBytes;
    std::vector<CopiedField> copiedFields;
    for (int i : fields) {
        const int to = (*copy)->fieldIndex(table.field(i).name);
        const xbase::FieldDef &from = table.field(i), &into = (*copy)->field(to);
        if (from.type == 'C' && into.type == 'C' && from.width == into.width) {
            sameBytes.push_back({i, to});
        } else {
            copiedFields.push_back({i, to, false});
        }
    }
    const int memo = table.fieldIndex("MEMO");
    if (memo >= 0 && table.field(memo).isMemo()) {
        copiedFields.push_back(
            {memo, (*copy)->fieldIndex("MEMO"), true, CopiedField::MemoRule::BlankAfterFours});
    }
    BatchAppender appender(**copy);
    RecordCopier copier(table, **copy);
    QString fillReason;
    JobResult result = eachRecord(
        table, progress, total, copied,
        [&]() -> Status {
            appender.begin();
            const char* record = table.recordBytes();
            for (const auto& [from, to] : sameBytes) {
                const xbase::FieldDef& f = table.field(from);
                appender.putBytes(to, std::string_view(record + f.offset, f.width));
            }
            if (!copier.copy(copiedFields, appender, &fillReason)) {
                return Status::InvalidArgument(fillReason.toStdString());
            }
            return appender.end();
        },
        reason);
    s = appender.flush();
    if (s.ok()) s = (*copy)->close();
    if (!s.ok() && result != JobResult::Failed) {
        *reason = QString::fromStdString(s.message());
        result = JobResult::Failed;
    }
    // A batch that did not reach the file was not copied.
    if (result != JobResult::Failed) *copied = (*copy)->recCount();
    copy->reset();
    return result;
}

// Moves the file at `from` to `to` through the file system, once its bytes are on
// the disk: the name never stands for a file that a crash could leave half written.
Status moveFile(xbase::FileSystem& fs, const QString& from, const QString& to) {
    std::unique_ptr<xbase::File> file;
    Status s = fs.open(local(from), xbase::OpenMode::Exclusive, &file);
    if (s.ok()) s = file->sync();
    return s.ok() ? file->renameTo(local(to)) : s;
}

}  // namespace

const KindTexts& Texts(Kind kind) {
    static const KindTexts dbf{QStringLiteral("Copy to a &DBF file"),
                               QStringLiteral("DBF files (*.DBF *.dbf)"), QStringLiteral("DBF")};
    static const KindTexts text{QStringLiteral("Copy to an &ASCII file (comma delimited)"),
                                QStringLiteral("Text files (*.TXT *.txt)"), QStringLiteral("TXT")};
    static const KindTexts csv{QStringLiteral("Copy to a &CSV file for spreadsheets (UTF-8)"),
                               QStringLiteral("CSV files (*.CSV *.csv)"), QStringLiteral("CSV")};
    static const KindTexts vcard{QStringLiteral("Copy to a &vCard file for address books"),
                                 QStringLiteral("vCard files (*.vcf *.VCF)"), QStringLiteral("vcf")};
    switch (kind) {
        case Kind::Dbf:
            return dbf;
        case Kind::Text:
            return text;
        case Kind::Csv:
            return csv;
        case Kind::VCard:
            return vcard;
    }
    return dbf;
}

const std::vector<const char*>& TextFields() {
    static const std::vector<const char*> fields = {
        "PREFIX", "FNAME",   "MIDDLE", "LNAME",  "TITLE", "ORG", "STREET", "STREET2", "CITY",  "STATE",
        "ZIP",    "COUNTRY", "PHONE",  "PHONE2", "EMAIL", "FAX", "DATE",   "USER1",   "USER2", "CODES"};
    return fields;
}

Check CheckTarget(const QString& path, Kind kind, const QString& addressPath, QString* message) {
    const QFileInfo target(path);
    if (kind == Kind::Dbf && target.suffix().toUpper() != QLatin1String("DBF")) {
        *message = QStringLiteral("Must have a .DBF extension");
        return Check::Refused;
    }
    const QFileInfo address(addressPath);
    const bool sameName =
        target.absoluteFilePath().compare(address.absoluteFilePath(), Qt::CaseInsensitive) == 0;
    const bool sameFile =
        target.exists() && address.exists() && target.canonicalFilePath() == address.canonicalFilePath();
    if (!addressPath.isEmpty() && (sameName || sameFile)) {
        *message = QStringLiteral("Cannot copy a file to itself!");
        return Check::Refused;
    }
    if (target.exists()) {
        *message = OverwriteQuestion(path);
        return Check::AskOverwrite;
    }
    message->clear();
    return Check::Ok;
}

QString OverwriteQuestion(const QString& path) {
    return path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
}

JobResult Run(xbase::Table& table, Kind kind, const QString& path, JobProgress& progress, uint32_t* copied,
              QString* error, xbase::FileSystem* fs, const Options& options) {
    xbase::FileSystem& files = fs ? *fs : xbase::FileSystem::real();
    SavedCursor saved(table);
    *copied = 0;
    progress.status(QStringLiteral("Copying to ") + QFileInfo(path).fileName());
    progress.gauge(0);
    const uint32_t total = table.queryRecCount();
    const QString part = partPath(path);
    QString reason;
    JobResult result;
    Status s;
    if (kind == Kind::Dbf) {
        std::unique_ptr<xbase::Table> copy;
        result = copyDbf(table, files, part, total, progress, copied, &reason, &copy);
        const QString partMemo = withExtension(part, QStringLiteral("FPT"));
        if (result != JobResult::Failed) {
            // The index file of an earlier table of that name would not fit this one.
            const QString cdx = QString::fromStdString(
                files.findIgnoringCase(local(withExtension(path, QStringLiteral("CDX")))));
            s = files.remove(local(cdx));
            if (s.ok() && files.exists(local(partMemo))) {
                s = moveFile(files, partMemo, withExtension(path, QStringLiteral("FPT")));
            }
            if (s.ok()) s = moveFile(files, part, path);
        }
        if (!s.ok() && result != JobResult::Failed) {
            reason = QString::fromStdString(s.message());
            result = JobResult::Failed;
        }
        if (result == JobResult::Failed) {
            (void)files.remove(local(part));
            (void)files.remove(local(partMemo));
        }
    } else {
        Output out;
        result = kind == Kind::VCard
                     ? copyVCards(table, files, part, total, progress, copied, &reason, &out)
                     : copyText(table, kind, options, files, part, total, progress, copied, &reason, &out);
        if (result != JobResult::Failed) {
            s = out.finish();
            if (s.ok()) s = out.renameTo(local(path));
            if (!s.ok()) {
                reason = QString::fromStdString(s.message());
                result = JobResult::Failed;
            }
        }
        out.close();
        if (result == JobResult::Failed) (void)files.remove(local(part));
    }
    if (result == JobResult::Failed) {
        *copied = 0;
        *error = QStringLiteral("There was an error copying\r\n") + reason;
    }
    return result;
}

}  // namespace CopyOut
