#include "VCard.h"

#include "SourceEncoding.h"

namespace VCard {

namespace {

// ---- writing

// A text value escaped as vCard 3.0 wants it; `structured` leaves ";" alone for the
// caller's separators. Every line break (CR LF, LF or CR) becomes "\n".
void appendEscaped(std::string* out, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    for (int i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
            case '\\':
                *out += "\\\\";
                break;
            case ',':
                *out += "\\,";
                break;
            case ';':
                *out += "\\;";
                break;
            case '\r':
                if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
                *out += "\\n";
                break;
            case '\n':
                *out += "\\n";
                break;
            default:
                out->push_back(c);
        }
    }
}

// Appends a content line, folded at 75 octets, ended by CR LF.
void appendLine(std::string* out, const std::string& line) {
    constexpr size_t kMax = 75;
    size_t at = 0, room = kMax;
    while (line.size() - at > room) {
        size_t cut = at + room;
        // Never inside a UTF-8 sequence: back up to the start of a character.
        while (cut > at && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out->append(line, at, cut - at);
        *out += "\r\n ";
        at = cut;
        room = kMax - 1;
    }
    out->append(line, at, std::string::npos);
    *out += "\r\n";
}

void appendProperty(std::string* out, const char* name, const QStringList& parts) {
    bool any = false;
    for (const QString& p : parts) any |= !p.isEmpty();
    if (!any) return;
    std::string line = name;
    line += ':';
    for (int i = 0; i < parts.size(); ++i) {
        if (i) line += ';';
        appendEscaped(&line, parts[i]);
    }
    appendLine(out, line);
}

// ---- reading

bool hexDigit(char c, int* v) {
    if (c >= '0' && c <= '9') *v = c - '0';
    else if (c >= 'A' && c <= 'F') *v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') *v = c - 'a' + 10;
    else return false;
    return true;
}

// Quoted-printable to bytes; "=" at the end of a line (soft break) is already gone.
bool decodeQuotedPrintable(const std::string& in, std::string* out) {
    out->clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out->push_back(in[i]);
            continue;
        }
        int hi, lo;
        if (i + 2 >= in.size() || !hexDigit(in[i + 1], &hi) || !hexDigit(in[i + 2], &lo)) {
            // Not an escape: writers that forget to encode "=" are common; keep it.
            if (i + 1 < in.size()) out->push_back('=');
            continue;
        }
        out->push_back(char(hi * 16 + lo));
        i += 2;
    }
    return true;
}

struct ContentLine {
    QString name;                                  // upper case, without group
    std::vector<std::pair<QString, QString>> params;  // names upper case; bare 2.1 ones as TYPE
    std::string rawValue;
};

// Whether `text` holds `word` (upper-case ASCII) in any letter case.
bool containsIgnoringCase(std::string_view text, std::string_view word) {
    for (size_t i = 0; i + word.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < word.size()) {
            const char c = text[i + k];
            if ((c >= 'a' && c <= 'z' ? char(c - 32) : c) != word[k]) break;
            ++k;
        }
        if (k == word.size()) return true;
    }
    return false;
}

QString upper(const std::string& s) { return QString::fromUtf8(s.data(), int(s.size())).toUpper(); }

// Splits a content line; false when it has no colon.
bool parseLine(const std::string& line, ContentLine* out) {
    size_t i = 0;
    bool quoted = false;
    size_t colon = std::string::npos;
    for (; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (!quoted && line[i] == ':') {
            colon = i;
            break;
        }
    }
    if (colon == std::string::npos) return false;
    const std::string head = line.substr(0, colon);
    out->rawValue = line.substr(colon + 1);
    std::vector<std::string> parts;
    std::string part;
    quoted = false;
    for (char c : head) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted) {
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    parts.push_back(part);
    std::string name = parts[0];
    const size_t dot = name.find('.');
    if (dot != std::string::npos) name = name.substr(dot + 1);
    out->name = upper(name).trimmed();
    out->params.clear();
    for (size_t p = 1; p < parts.size(); ++p) {
        const size_t eq = parts[p].find('=');
        if (eq == std::string::npos) {
            out->params.push_back({QStringLiteral("TYPE"), upper(parts[p]).trimmed()});
            continue;
        }
        QString value = QString::fromUtf8(parts[p].substr(eq + 1).c_str());
        value.remove(QLatin1Char('"'));
        out->params.push_back({upper(parts[p].substr(0, eq)).trimmed(), value});
    }
    return !out->name.isEmpty();
}

QString param(const ContentLine& line, const char* name) {
    for (const auto& [n, v] : line.params) {
        if (n == QLatin1String(name)) return v;
    }
    return QString();
}

// The TYPE parameters in lower case, comma lists split: "home", "work", "pref", ...
QStringList types(const ContentLine& line) {
    QStringList list;
    for (const auto& [n, v] : line.params) {
        if (n == QLatin1String("TYPE")) {
            for (const QString& t : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) list << t.trimmed().toLower();
        } else if (n == QLatin1String("PREF")) {
            list << QStringLiteral("pref");  // 4.0's PREF=1
        }
    }
    return list;
}

// The value as text: quoted-printable undone, converted from its CHARSET (UTF-8 when it
// is valid UTF-8, else Windows-1252, when none is named). False with the reason.
bool valueText(const ContentLine& line, QString* text, QString* reason) {
    std::string bytes = line.rawValue;
    const QString encoding = param(line, "ENCODING").toUpper();
    bool qp = encoding == QLatin1String("QUOTED-PRINTABLE");
    for (const auto& [n, v] : line.params) qp |= n == QLatin1String("TYPE") && v == QLatin1String("QUOTED-PRINTABLE");
    if (qp) {
        std::string decoded;
        if (!decodeQuotedPrintable(bytes, &decoded)) {
            *reason = QStringLiteral("the quoted-printable value of %1 is broken").arg(line.name);
            return false;
        }
        bytes.swap(decoded);
    } else if (encoding == QLatin1String("B") || encoding == QLatin1String("BASE64")) {
        text->clear();  // pictures and keys: nothing the address file keeps
        return true;
    }
    const QString charset = param(line, "CHARSET");
    SourceEncoding source;
    QString message;
    if (!charset.isEmpty()) {
        if (!SourceEncoding::byName(charset, &source, &message)) {
            *reason = QStringLiteral("%1 names the character set %2, which is not known").arg(line.name, charset);
            return false;
        }
    } else {
        Utf8Check check;
        source = check.feed(bytes) && check.complete() ? SourceEncoding::utf8() : SourceEncoding::windows1252();
    }
    std::string utf8;
    if (!source.toUtf8(bytes, &utf8)) {
        *reason = QStringLiteral("the value of %1 is not valid %2 text").arg(line.name, source.name());
        return false;
    }
    *text = QString::fromUtf8(utf8.data(), int(utf8.size()));
    return true;
}

// A memo's line breaks are CR LF.
QString memoText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

}  // namespace

QString Unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value[++i];
        if (n == QLatin1Char('n') || n == QLatin1Char('N')) {
            out += QLatin1Char('\n');
        } else {
            out += n;
        }
    }
    return out;
}

QStringList Components(const QString& value) {
    QStringList parts;
    QString part;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            part += value[i];
            part += value[++i];
        } else if (value[i] == QLatin1Char(';')) {
            parts << Unescape(part);
            part.clear();
        } else {
            part += value[i];
        }
    }
    parts << Unescape(part);
    return parts;
}

void Write(const VCardContact& c, std::string* out) {
    appendLine(out, "BEGIN:VCARD");
    appendLine(out, "VERSION:3.0");
    // N and FN are required in 3.0.
    std::string line = "N:";
    const QStringList n = {c.family, c.given, c.additional, c.prefix, c.suffix};
    for (int i = 0; i < n.size(); ++i) {
        if (i) line += ';';
        appendEscaped(&line, n[i]);
    }
    appendLine(out, line);
    line = "FN:";
    appendEscaped(&line, c.formatted);
    appendLine(out, line);
    appendProperty(out, "ORG", {c.org});
    appendProperty(out, "TITLE", {c.title});
    for (const VCardContact::Address& a : c.addresses) {
        const std::string name = a.types.isEmpty() ? "ADR" : "ADR;TYPE=" + a.types.join(',').toUpper().toStdString();
        appendProperty(out, name.c_str(), {a.box, a.extended, a.street, a.city, a.region, a.code, a.country});
    }
    for (const VCardContact::Typed& t : c.phones) {
        const std::string name = "TEL;TYPE=" + (t.types.isEmpty() ? QStringLiteral("VOICE") : t.types.join(',').toUpper()).toStdString();
        appendProperty(out, name.c_str(), {t.value});
    }
    for (const VCardContact::Typed& t : c.emails) appendProperty(out, "EMAIL;TYPE=INTERNET", {t.value});
    appendProperty(out, "NOTE", {c.note});
    for (const auto& [name, value] : c.own) {
        appendProperty(out, ("X-QUILLORY-" + name.toUpper().toStdString()).c_str(), {value});
    }
    appendLine(out, "END:VCARD");
}

bool Reader::open(const QString& path, QString* message) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        *message = QStringLiteral("Cannot read %1: %2").arg(path, file_.errorString());
        return false;
    }
    return true;
}

bool Reader::physicalLine(std::string* line) {
    if (hasPending_) {
        hasPending_ = false;
        line->swap(pending_);
        return true;
    }
    if (file_.atEnd()) return false;
    const QByteArray bytes = file_.readLine();
    if (bytes.isEmpty() && file_.error() != QFileDevice::NoError) {
        problem_ = QStringLiteral("Cannot read %1: %2").arg(file_.fileName(), file_.errorString());
        failed_ = true;
        return false;
    }
    line->assign(bytes.constData(), size_t(bytes.size()));
    while (!line->empty() && (line->back() == '\n' || line->back() == '\r')) line->pop_back();
    if (physical_ == 0 && line->compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) line->erase(0, kUtf8Bom.size());
    ++physical_;
    return true;
}

bool Reader::logicalLine(std::string* line, uint64_t* number) {
    if (!physicalLine(line)) return false;
    *number = physical_;
    // Quoted-printable values of 2.1 go on after a line that ends with "=".
    const size_t colon = line->find(':');
    const bool qp = colon != std::string::npos && containsIgnoringCase(std::string_view(*line).substr(0, colon),
                                                                       "QUOTED-PRINTABLE");
    std::string next;
    for (;;) {
        if (qp && !line->empty() && line->back() == '=') {
            if (!physicalLine(&next)) break;
            line->pop_back();
            // The next line goes on as it is; a leading blank of a fold is dropped too.
            if (!next.empty() && (next[0] == ' ' || next[0] == '\t')) next.erase(0, 1);
            *line += next;
            continue;
        }
        if (!physicalLine(&next)) break;
        if (!next.empty() && (next[0] == ' ' || next[0] == '\t')) {
            line->append(next, 1, std::string::npos);
            continue;
        }
        pending_.swap(next);
        hasPending_ = true;
        break;
    }
    return true;
}

Reader::Result Reader::next(VCardContact* contact) {
    std::string raw;
    uint64_t number = 0;
    bool inCard = false;
    bool inBase64 = false;  // 2.1 writes base64 lines without the blank of a fold
    QString fault;          // why the card being read is bad
    ContentLine line;
    for (;;) {
        if (hasAgain_) {
            hasAgain_ = false;
            raw.swap(again_);
            number = againNumber_;
        } else if (!logicalLine(&raw, &number)) {
            if (failed_) return Result::Failed;
            if (!inCard) return Result::End;
            problem_ = QStringLiteral("Line %1: the card has no END:VCARD").arg(contact->line);
            return Result::Bad;
        }
        const bool blank = raw.find_first_not_of(" \t") == std::string::npos;
        if (blank) continue;
        const bool parsed = parseLine(raw, &line);
        const QString value = parsed ? QString::fromUtf8(line.rawValue.c_str()).trimmed().toUpper() : QString();
        if (parsed && line.name == QLatin1String("BEGIN") && value == QLatin1String("VCARD")) {
            if (inCard) {
                // The card before never ended: this line starts the next one.
                again_.swap(raw);
                againNumber_ = number;
                hasAgain_ = true;
                problem_ = QStringLiteral("Line %1: the card has no END:VCARD").arg(contact->line);
                return Result::Bad;
            }
            *contact = VCardContact();
            contact->line = number;
            inCard = true;
            fault.clear();
            continue;
        }
        if (!inCard) {
            problem_ = QStringLiteral("Line %1: outside any card").arg(number);
            return Result::Bad;
        }
        if (parsed && line.name == QLatin1String("END") && value == QLatin1String("VCARD")) {
            if (!fault.isEmpty()) {
                problem_ = fault;
                return Result::Bad;
            }
            if (contact->version.isEmpty()) contact->version = QStringLiteral("3.0");
            return Result::Card;
        }
        if (!fault.isEmpty()) continue;  // skipping to the card's end
        if (!parsed && inBase64) continue;
        inBase64 = false;
        if (!parsed) {
            fault = QStringLiteral("Line %1: not a vCard property (no colon)").arg(number);
            continue;
        }
        QString text, reason;
        if (!valueText(line, &text, &reason)) {
            fault = QStringLiteral("Line %1: %2").arg(number).arg(reason);
            continue;
        }
        const QString encoding = param(line, "ENCODING").toUpper();
        inBase64 = encoding == QLatin1String("BASE64") || encoding == QLatin1String("B");
        const QString& name = line.name;
        if (name == QLatin1String("VERSION")) {
            contact->version = text.trimmed();
            if (contact->version != QLatin1String("2.1") && contact->version != QLatin1String("3.0") &&
                contact->version != QLatin1String("4.0")) {
                fault = QStringLiteral("Line %1: vCard version %2 is not known").arg(number).arg(contact->version);
            }
        } else if (name == QLatin1String("N")) {
            const QStringList p = Components(text);
            contact->family = p.value(0);
            contact->given = p.value(1);
            contact->additional = p.value(2);
            contact->prefix = p.value(3);
            contact->suffix = p.value(4);
        } else if (name == QLatin1String("FN")) {
            contact->formatted = Unescape(text);
        } else if (name == QLatin1String("ORG")) {
            QStringList units = Components(text);
            units.removeAll(QString());
            contact->org = units.join(QStringLiteral(", "));
        } else if (name == QLatin1String("TITLE")) {
            contact->title = Unescape(text);
        } else if (name == QLatin1String("ADR")) {
            const QStringList p = Components(text);
            contact->addresses.push_back(
                {types(line), p.value(0), p.value(1), p.value(2), p.value(3), p.value(4), p.value(5), p.value(6)});
        } else if (name == QLatin1String("TEL")) {
            QString v = Unescape(text);
            if (v.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) v = v.mid(4);  // 4.0's URI form
            contact->phones.push_back({types(line), v});
        } else if (name == QLatin1String("EMAIL")) {
            contact->emails.push_back({types(line), Unescape(text)});
        } else if (name == QLatin1String("NOTE")) {
            const QString note = memoText(Unescape(text));
            contact->note = contact->note.isEmpty() ? note : contact->note + QStringLiteral("\r\n") + note;
        } else if (name == QLatin1String("BDAY")) {
            contact->birthday = Unescape(text);
        } else if (name.startsWith(QLatin1String("X-QUILLORY-"))) {
            contact->own.push_back({name.mid(11), Unescape(text)});
        }
    }
}

}  // namespace VCard
