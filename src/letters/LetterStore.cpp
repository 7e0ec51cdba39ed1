#include "LetterStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTextDocument>

#include "RtfReader.h"
#include "RtfWriter.h"
#include "SystemTables.h"
#include "Table.h"
#include "TableText.h"

namespace {

QString statusText(const xbase::Status& s) { return QString::fromStdString(s.message()); }

}  // namespace

bool LetterStore::Open(const AppHome& home, std::unique_ptr<LetterStore>* store, QString* message) {
    std::unique_ptr<xbase::Table> table;
    if (!SystemTables::OpenLetterTable(home, &table, message)) return false;
    store->reset(new LetterStore(home, std::move(table)));
    if ((*store)->descript_ < 0 || (*store)->rtfField_ < 0) {
        store->reset();
        *message = "Unable to Open or Create LETTER.DBF";
        return false;
    }
    return true;
}

LetterStore::LetterStore(const AppHome& home, std::unique_ptr<xbase::Table> table)
    : home_(home), table_(std::move(table)) {
    table_->setDeleted(true);
    descript_ = table_->fieldIndex("DESCRIPT");
    rtfField_ = table_->fieldIndex("RTF");
}

LetterStore::~LetterStore() {
    if (table_) (void)table_->close();
}

std::vector<LetterStore::Entry> LetterStore::letters() {
    std::vector<Entry> list;
    for (xbase::Status s = table_->goTop(); s.ok() && !table_->eof(); s = table_->skip(1)) {
        list.push_back({table_->recNo(), TableText::decode(table_->codePage(), table_->getTrimString(descript_))});
    }
    return list;
}

uint32_t LetterStore::find(const QString& description) {
    QString wanted = description;
    while (wanted.endsWith(QLatin1Char(' '))) wanted.chop(1);
    uint32_t caseless = 0;
    for (const Entry& e : letters()) {
        if (e.description == wanted) return e.recNo;
        if (!caseless && e.description.compare(wanted, Qt::CaseInsensitive) == 0) caseless = e.recNo;
    }
    return caseless;
}

bool LetterStore::go(uint32_t recNo, QString* error) {
    const xbase::Status s = table_->go(recNo);
    if (!s.ok() || table_->eof() || table_->deleted()) {
        *error = s.ok() ? QString("Letter record %1 not found").arg(recNo) : statusText(s);
        return false;
    }
    return true;
}

bool LetterStore::rtf(uint32_t recNo, QByteArray* rtf, QString* error) {
    if (!go(recNo, error)) return false;
    std::string text;
    const xbase::Status s = table_->getMemo(rtfField_, &text);
    if (!s.ok()) {
        *error = statusText(s);
        return false;
    }
    *rtf = QByteArray(text.data(), qsizetype(text.size()));
    return true;
}

bool LetterStore::LoadRichText(uint32_t recNo, QTextDocument* document, QString* error) {
    QByteArray text;
    if (!rtf(recNo, &text, error)) return false;
    RtfReader::Read(text, document);
    return true;
}

QByteArray LetterStore::StoredText(const QByteArray& rtf) {
    // The text as lines: line ends of any kind become CR LF.
    QByteArray text = rtf;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n')) lines.removeLast();
    QByteArray joined = lines.join("\r\n");
    if (!joined.isEmpty() && joined.size() % 4 == 0) joined += ' ';
    return joined;
}

bool LetterStore::passThroughFile(const QByteArray& rtf, QByteArray* text, QString* error) const {
    const QString folder = home_.file("tmp");
    if (!QDir().mkpath(folder)) {
        *error = "Unable to create " + QDir::toNativeSeparators(folder);
        return false;
    }
    QTemporaryFile file(folder + "/erasemeXXXXXX.rtf");
    if (!file.open() || file.write(StoredText(rtf)) < 0 || !file.flush() || !file.seek(0)) {
        *error = "Unable to write " + QDir::toNativeSeparators(file.fileName());
        return false;
    }
    *text = file.readAll();
    return true;  // the file goes with `file`
}

bool LetterStore::SaveRichText(uint32_t recNo, const QString& description, const QByteArray& rtf,
                               QString* error, uint32_t* stored) {
    QString name = description;
    while (name.endsWith(QLatin1Char(' '))) name.chop(1);
    if (name.size() > kDescriptionWidth) {
        *error = QString("A letter description holds at most %1 characters").arg(kDescriptionWidth);
        return false;
    }
    std::string nameBytes;
    if (const xbase::Status s = TableText::encode(table_->codePage(), name, &nameBytes); !s.ok()) {
        *error = statusText(s);
        return false;
    }
    QByteArray text;
    if (!passThroughFile(rtf, &text, error)) return false;

    if (recNo != 0 && !go(recNo, error)) return false;
    xbase::Status s = recNo == 0 ? table_->appendBlank() : xbase::Status::OK();
    if (s.ok()) s = table_->replace(descript_, nameBytes);
    if (s.ok()) s = table_->replace(rtfField_, std::string_view(text.constData(), size_t(text.size())));
    if (s.ok()) s = table_->commit();
    if (!s.ok()) {
        *error = statusText(s);
        return false;
    }
    if (stored) *stored = table_->recNo();
    return true;
}

bool LetterStore::SaveRichText(uint32_t recNo, const QString& description, const QTextDocument& document,
                               QString* error, uint32_t* stored) {
    return SaveRichText(recNo, description, RtfWriter::Write(document), error, stored);
}

bool LetterStore::Clone(uint32_t recNo, QString* error, uint32_t* stored) {
    QByteArray text;
    if (!rtf(recNo, &text, error)) return false;
    const QString description = TableText::decode(table_->codePage(), table_->getTrimString(descript_));
    return SaveRichText(0, QString("Clone of " + description).left(kDescriptionWidth), text, error, stored);
}

bool LetterStore::Delete(uint32_t recNo, QString* error) {
    if (!go(recNo, error)) return false;
    xbase::Status s = table_->deleteRecord();
    if (s.ok()) s = table_->commit();
    if (!s.ok()) {
        *error = statusText(s);
        return false;
    }
    return true;
}
