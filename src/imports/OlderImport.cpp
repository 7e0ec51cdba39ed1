#include "OlderImport.h"

#include <QDate>
#include <QFileInfo>

#include "BatchAppender.h"
#include "CodePage.h"
#include "DbfImport.h"
#include "ImportCopy.h"
#include "Table.h"

namespace OlderImport {

QString Caption(Version version) {
    return version == Version::V1 ? QStringLiteral("Import Quillory 1.x DBF")
                                  : QStringLiteral("Import Quillory 2.x DBF");
}

const std::vector<const char*>& Layout(Version version) {
    static const std::vector<const char*> v1 = {"LNAME", "FNAME", "MIDDLE", "TITLE",   "ORG",   "STREET",
                                                "CITY",  "STATE", "ZIP",    "COUNTRY", "PHONE", "EMAIL",
                                                "FAX",   "NOTES", "PREFIX", "CARRIER", "DATE",  "MEMO"};
    static const std::vector<const char*> v2 = {"LNAME",   "FNAME", "MIDDLE", "TITLE", "ORG",     "STREET",
                                                "STREET2", "CITY",  "STATE",  "ZIP",   "COUNTRY", "PHONE",
                                                "PHONE2",  "EMAIL", "FAX",    "CODES", "PREFIX",  "DATE",
                                                "USER1",   "USER2", "ISDEL",  "MEMO",  "TAG"};
    return version == Version::V1 ? v1 : v2;
}

bool OpenSource(const QString& path, const QString& addressPath, Version version,
                std::unique_ptr<xbase::Table>* source, QString* message) {
    if (!DbfImport::OpenSource(path, addressPath, source, message)) return false;
    for (const char* name : Layout(version)) {
        if ((*source)->fieldIndex(name) < 0) {
            source->reset();
            *message =
                path + (version == Version::V1 ? QStringLiteral(" does not appear to be a Quillory 1.x DBF")
                                               : QStringLiteral(" does not appear to be a Quillory 2.x DBF"));
            return false;
        }
    }
    return true;
}

QString ConvertDate(const QString& text, const QLocale& locale) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return QString();
    if (t.size() == 8 && QDate::fromString(t, QStringLiteral("yyyyMMdd")).isValid()) return t;
    const QDate date = locale.toDate(t, QLocale::ShortFormat);
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")) : QString();
}

ImportReport Run(xbase::Table& table, xbase::Table& source, Version version, JobProgress& progress,
                 const ImportHooks& hooks, const QLocale& locale) {
    (void)table.query({});
    std::vector<CopiedField> copied;
    const auto copy = [&](const char* from, const char* to) {
        const int f = source.fieldIndex(from), t = table.fieldIndex(to);
        if (f >= 0 && t >= 0) copied.push_back({f, t, false, CopiedField::MemoRule::AsItIs});
    };
    for (const char* name : {"LNAME", "FNAME", "PREFIX", "MIDDLE", "TITLE", "ORG", "STREET", "CITY", "STATE",
                             "ZIP", "COUNTRY", "PHONE", "FAX", "EMAIL"}) {
        copy(name, name);
    }
    if (version == Version::V2) {
        for (const char* name : {"CODES", "STREET2", "PHONE2", "USER1", "USER2", "ISDEL", "DATE"})
            copy(name, name);
    } else {
        copy("NOTES", "CODES");
    }
    const int sourceMemo = source.fieldIndex("MEMO"), memo = table.fieldIndex("MEMO");
    if (sourceMemo >= 0 && memo >= 0 && source.field(sourceMemo).isMemo()) {
        copied.push_back({sourceMemo, memo, true, CopiedField::MemoRule::BlankAfterFours});
    }
    const int sourceDate = source.fieldIndex("DATE"), date = table.fieldIndex("DATE");
    const int isdel = source.fieldIndex("ISDEL");

    return DbfImport::RunCopy(
        table, source, progress, hooks, [&](RecordCopier& copier, BatchAppender& appender, QString* reason) {
            if (!copier.copy(copied, appender, reason)) return false;
            if (version == Version::V1 && sourceDate >= 0 && date >= 0) {
                const QString text =
                    QString::fromStdString(source.codePage().toUtf8(source.getTrimString(sourceDate)));
                // The converted date is digits only: the same in every code page.
                const QString converted = ConvertDate(text, locale);
                const xbase::Status s =
                    converted.isEmpty() ? xbase::Status::OK() : appender.put(date, converted.toStdString());
                if (!s.ok()) {
                    *reason = QString::fromStdString(s.message());
                    return false;
                }
            }
            if (version == Version::V2 && isdel >= 0 && source.field(isdel).type == 'L' &&
                source.getLogical(isdel)) {
                appender.markDeleted();
            }
            return true;
        });
}

}  // namespace OlderImport
