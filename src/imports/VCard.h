#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

// A contact as a vCard holds it, as far as an address file keeps contacts.
struct VCardContact {
    // A value with its TYPE parameters, in lower case ("home", "work", "pref", "fax").
    struct Typed {
        QStringList types;
        QString value;
        bool is(const char* type) const { return types.contains(QLatin1String(type)); }
    };
    // ADR: post office box; extended address; street; locality; region; postal code; country.
    struct Address {
        QStringList types;
        QString box, extended, street, city, region, code, country;
        bool is(const char* type) const { return types.contains(QLatin1String(type)); }
    };

    uint64_t line = 0;  // where the card begins in its file, from 1
    QString version;    // "2.1", "3.0", "4.0"
    QString family, given, additional, prefix, suffix;  // N
    QString formatted;                                  // FN
    QString org, title;                                 // ORG (units joined by ", "), TITLE
    std::vector<Address> addresses;                     // ADR, in card order
    std::vector<Typed> phones, emails;                  // TEL, EMAIL, in card order
    QString note;                                       // NOTE, line breaks as CR LF
    QString birthday;                                   // BDAY as it stands
    // The program's own properties (X-QUILLORY-USER1, ...): name without "X-QUILLORY-".
    std::vector<std::pair<QString, QString>> own;
};

// The vCard text format (versions 2.1, 3.0 and 4.0 read; 3.0 written).
//
// A file is a sequence of cards, each "BEGIN:VCARD" ... "END:VCARD". A content line is
// [group "."] NAME *(";" PARAM) ":" VALUE. A physical line that begins with a blank or
// a tab continues the line before it (the line break and that one character are
// dropped). Version 2.1 writes parameters without names ("TEL;HOME;FAX:") and may encode
// a value as quoted-printable (ENCODING=QUOTED-PRINTABLE or a bare QUOTED-PRINTABLE),
// whose lines end with "=" when the value goes on, in a CHARSET the parameter names.
// In values, "\n" (or "\N") is a line break and "\,", "\;" and "\\" the characters
// themselves; structured values (N, ADR, ORG) split at ";" that are not escaped.
namespace VCard {

// Appends one card, vCard 3.0: UTF-8, every line ended by CR LF and folded so that no
// line is longer than 75 octets (a continuation line begins with one blank), a
// character never cut in two. FN is the name as the program puts it together (the
// organisation when there is no name).
void Write(const VCardContact& contact, std::string* out);

// Reads the cards of a file one after the other.
class Reader {
  public:
    enum class Result {
        Card,    // *contact holds the next card
        Bad,     // the next card could not be read: problem() says why; it is skipped
        End,     // no more cards
        Failed,  // the file could not be read: problem() says why
    };

    // False with the file's error ("Cannot read <path>: <reason>").
    bool open(const QString& path, QString* message);
    Result next(VCardContact* contact);
    // "Line 14: ..." for a bad card (naming the line at fault), the file's error.
    const QString& problem() const { return problem_; }
    // How far the reading has come, in bytes of the file, and its size.
    qint64 position() const { return file_.pos(); }
    qint64 size() const { return file_.size(); }

  private:
    // The next logical line (unfolded, soft line breaks of quoted-printable joined) in
    // *line and the number of its first physical line; false at the end.
    bool logicalLine(std::string* line, uint64_t* number);
    bool physicalLine(std::string* line);

    QFile file_;
    uint64_t physical_ = 0;  // physical lines read
    std::string pending_;    // a physical line read ahead
    bool hasPending_ = false;
    std::string again_;  // a logical line to be read once more
    uint64_t againNumber_ = 0;
    bool hasAgain_ = false;
    bool failed_ = false;
    QString problem_;
};

// Splits a structured value at its unescaped ";" and unescapes each part.
QStringList Components(const QString& value);
// Unescapes a text value: "\n" and "\N" a line break, "\," "\;" "\\" the character.
QString Unescape(const QString& value);

}  // namespace VCard
