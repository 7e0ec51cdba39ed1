#include "FilterFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include "TableText.h"
#include "FileSystem.h"

namespace FilterFile {

namespace {

bool hasFltExtension(const QString& fileName) {
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && fileName.mid(dot).toUpper() == QLatin1String(".FLT");
}

}  // namespace

QByteArray toBytes(const FilterCriteria& criteria) {
    QString text;
    for (QString entry : criteria.texts) {
        entry.replace(QLatin1String("\r\n"), QLatin1String(" "));
        entry.replace(QLatin1Char('\r'), QLatin1Char(' '));
        entry.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text += entry + QLatin1String("\r\n");
    }
    text += QLatin1String(criteria.tagged ? "T\r\n" : "F\r\n");
    text += QLatin1String(criteria.reverse ? "T\r\n" : "F\r\n");
    std::string ansi;
    if (TableText::encode(xbase::CodePage::windows1252(), text, &ansi).ok()) return QByteArray::fromStdString(ansi);
    return text.toUtf8();
}

FilterCriteria fromBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = TableText::decode(xbase::CodePage::windows1252(), bytes.toStdString());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // after the last line break
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    }
    while (lines.size() < kLineCount) lines << QString();

    FilterCriteria criteria;
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) criteria.texts[size_t(i)] = lines[i];
    criteria.tagged = lines[18] == QLatin1String("T");
    criteria.reverse = lines[19] == QLatin1String("T");
    return criteria;
}

bool SaveFilterTo(const QString& path, const FilterCriteria& criteria, QString* message) {
    const xbase::NewFileMode mode(QFile::encodeName(path).toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toBytes(criteria)) < 0 || !file.commit()) {
        *message = "Unable to write " + path + ": " + file.errorString();
        return false;
    }
    mode.written();
    return true;
}

bool RestoreFilterFrom(const QString& path, FilterCriteria* criteria, QString* message) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *message = "Unable to read " + path + ": " + file.errorString();
        return false;
    }
    // Twenty typed lines are a few kilobytes; a big file picked by mistake is not
    // read whole.
    constexpr qint64 kEnough = 1 << 20;
    *criteria = fromBytes(file.read(kEnough));
    return true;
}

bool SaveName(const QString& chosen, QString* path, QString* message) {
    const QString fileName = QFileInfo(chosen).fileName();
    if (hasFltExtension(fileName)) {
        *path = chosen;
        return true;
    }
    if (fileName.contains(QLatin1Char('.'))) {
        *message = QStringLiteral("Must have a .FLT extension");
        return false;
    }
    *path = chosen + QStringLiteral(".FLT");
    return true;
}

QString OverwriteQuestion(const QString& path) {
    return path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?");
}

bool CheckRestoreName(const QString& chosen, QString* message) {
    if (hasFltExtension(QFileInfo(chosen).fileName())) return true;
    *message = QStringLiteral("Must be a Filter (.FLT) file");
    return false;
}

}  // namespace FilterFile
