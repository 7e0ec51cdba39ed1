#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <limits>

#include "TableText.h"
#include "FileSystem.h"

namespace {

bool isQuote(QChar c) { return c == u'"' || c == u'\''; }

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isHexDigit(QChar c) { return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

bool hasLineBreakOrNul(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r') || s.contains(QChar(0));
}

QString decodeWindows1252(const QByteArray& bytes) {
    const std::string_view raw(bytes.constData(), size_t(bytes.size()));
    return TableText::decode(xbase::CodePage::windows1252(), raw);
}

QString decode(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> bom = QStringConverter::encodingForData(bytes);
    if (bom && *bom != QStringConverter::Utf8) {
        QStringDecoder decoder(*bom);
        const QString text = decoder(bytes);
        if (!decoder.hasError()) return text;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

// Whether `value` needs quotes to be read back as itself.
bool needsQuotes(const QString& value) {
    if (value.isEmpty()) return false;
    if (value.front().isSpace() || value.back().isSpace()) return true;
    return value.size() >= 2 && isQuote(value.front()) && value.front() == value.back();
}

}  // namespace

bool IniFile::load(const QString& path, QString* error) {
    lines_.clear();
    crlf_ = false;
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = "Cannot read " + path + ": " + file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = "Cannot read " + path + ": " + file.errorString();
        return false;
    }
    file.close();
    *this = parse(bytes);
    return true;
}

bool IniFile::save(const QString& path, QString* error) const {
    const xbase::NewFileMode mode(QFile::encodeName(path).toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = "Cannot write " + path + ": " + file.errorString();
        return false;
    }
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = "Cannot write " + path + ": " + file.errorString();
        file.cancelWriting();
        return false;
    }
    mode.written();
    return true;
}

IniFile IniFile::parse(const QByteArray& bytes) {
    IniFile ini;
    const QString text = decode(bytes);
    const qsizetype firstBreak = text.indexOf(u'\n');
    ini.crlf_ = firstBreak > 0 && text.at(firstBreak - 1) == u'\r';

    QStringList rows = text.split(u'\n');
    if (!rows.isEmpty() && rows.back().isEmpty()) rows.removeLast();  // the file's final line end
    ini.lines_.reserve(rows.size());
    for (QString& row : rows) {
        if (row.endsWith(u'\r')) row.chop(1);
        ini.lines_.push_back(classify(row));
    }
    return ini;
}

QByteArray IniFile::serialize() const {
    const QString eol = crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const Line& line : lines_) text += line.text + eol;
    return text.toUtf8();
}

IniFile::Line IniFile::classify(const QString& text) {
    Line line;
    line.text = text;
    const QString t = text.trimmed();
    if (t.isEmpty() || t.startsWith(u';')) return line;
    if (t.startsWith(u'[')) {
        const qsizetype close = t.lastIndexOf(u']');
        if (close > 0) {
            line.kind = Line::Kind::Section;
            line.name = t.mid(1, close - 1).trimmed();
        }
        return line;
    }
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0) return line;
    const QString name = t.left(eq).trimmed();
    if (name.isEmpty()) return line;
    line.kind = Line::Kind::Key;
    line.name = name;
    return line;
}

int IniFile::findSection(const QString& section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::Section && line.name.compare(section, Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const {
    for (size_t i = size_t(sectionLine) + 1; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Kind::Section) break;
        if (line.kind == Line::Kind::Key && line.name.compare(key, Qt::CaseInsensitive) == 0) return int(i);
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const int sectionLine = findSection(section);
    if (sectionLine < 0) return std::nullopt;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0) return std::nullopt;

    const QString& text = lines_[size_t(keyLine)].text;
    QString v = text.mid(text.indexOf(u'=') + 1).trimmed();
    if (v.size() >= 2 && isQuote(v.front()) && v.front() == v.back()) v = v.mid(1, v.size() - 2);
    if (v.size() > kMaxValueLength) {
        // Never cut a character in half.
        const bool splitsPair = v.at(kMaxValueLength - 1).isHighSurrogate();
        v.truncate(splitsPair ? kMaxValueLength - 1 : kMaxValueLength);
    }
    return v;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return value(section, key).value_or(defaultValue);
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = value(section, key);
    if (!text) return defaultValue;
    return parseInt(*text).value_or(defaultValue);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    const std::optional<QString> text = value(section, key);
    if (!text) return defaultValue;
    const std::optional<int> number = parseInt(*text);
    return number ? *number != 0 : defaultValue;
}

std::optional<int> IniFile::parseInt(const QString& text) {
    bool ok = false;
    if (text.size() > 2 && text.at(0) == u'0' && (text.at(1) == u'x' || text.at(1) == u'X')) {
        const QStringView digits = QStringView(text).mid(2);
        // toUInt would accept a sign or blanks after the prefix; the profile rules do not.
        for (QChar c : digits) {
            if (!isHexDigit(c)) return std::nullopt;
        }
        const quint32 bits = digits.toUInt(&ok, 16);
        if (!ok) return std::nullopt;
        return int(qint32(bits));
    }
    QStringView digits(text);
    if (!digits.isEmpty() && (digits.front() == u'+' || digits.front() == u'-')) digits = digits.mid(1);
    if (digits.isEmpty()) return std::nullopt;
    for (QChar c : digits) {
        if (!isDigit(c)) return std::nullopt;
    }
    const qlonglong number = QStringView(text).toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return int(number);
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    if (hasLineBreakOrNul(value)) return false;
    if (section.isEmpty() || section.trimmed() != section || section.contains(u']') ||
        hasLineBreakOrNul(section)) {
        return false;
    }
    if (key.isEmpty() || key.trimmed() != key || key.contains(u'=') || key.startsWith(u'[') ||
        key.startsWith(u';') || hasLineBreakOrNul(key)) {
        return false;
    }
    const QString written = needsQuotes(value) ? u'"' + value + u'"' : value;

    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        if (!lines_.empty() && !lines_.back().text.trimmed().isEmpty()) lines_.push_back(Line{});
        lines_.push_back(classify(u'[' + section + u']'));
        lines_.push_back(classify(key + u'=' + written));
        return true;
    }
    const int keyLine = findKey(sectionLine, key);
    if (keyLine >= 0) {
        Line& line = lines_[size_t(keyLine)];
        line.text = line.name + u'=' + written;  // keeps the spelling the file already uses
        return true;
    }
    // After the section's last non-blank line, so that a blank line before the next
    // section stays where it is.
    size_t insertAt = size_t(sectionLine) + 1;
    for (size_t i = insertAt; i < lines_.size() && lines_[i].kind != Line::Kind::Section; ++i) {
        if (!lines_[i].text.trimmed().isEmpty()) insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt), classify(key + u'=' + written));
    return true;
}
