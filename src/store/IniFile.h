#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// A settings file in the usual profile layout: "[Section]" lines, each followed by
// "key=value" lines. Reading follows the rules of the Windows profile functions, so
// that a file carried over from the Windows program reads the same:
//
// - section and key names are compared without regard to letter case; the first
//   section of a name counts, and within it the first key of a name;
// - names and values are read without leading and trailing blanks, and a value
//   enclosed in a pair of matching quotes (" or ') loses them;
// - at most kMaxValueLength characters of a value are read;
// - integers are decimal, or hexadecimal after "0x"; a boolean is any integer, true
//   when non-zero; anything else gives the caller's default.
//
// Lines that are neither a section nor a key (comments, blank lines, stray text) and
// keys before the first section are kept as they are. Changing a value rewrites only
// its own line; a new key goes at the end of its section, a new section at the end
// of the file. The line-end style of a loaded file (CR LF or LF) is kept.
//
// The file is read as UTF-8, as UTF-16 when it starts with a UTF-16 byte-order mark,
// and as Windows-1252 (the Windows program's code page) when it is not valid UTF-8.
// It is always written as UTF-8.
//
// An IniFile is a document in memory: load() reads the whole file and closes it,
// save() writes it back. Settings opens and closes the file at each use.
class IniFile {
public:
    static constexpr int kMaxValueLength = 1023;

    IniFile() = default;

    // Reads the file at `path`, replacing the document. A missing file gives an empty
    // document and true. A file that exists but cannot be read gives an empty document
    // and false with `error` set; such a file must not be saved over, or every other
    // setting in it would be lost.
    bool load(const QString& path, QString* error = nullptr);

    // Writes the document to `path` through a temporary file beside it that is then
    // renamed over it, so that a crash leaves either the old or the new file, never a
    // truncated one. False with `error` set when the file cannot be written; the old
    // file is then untouched.
    bool save(const QString& path, QString* error = nullptr) const;

    static IniFile parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // The value as the profile rules read it, or nothing when the section or key is
    // missing. A key that is present with nothing after "=" gives an empty text.
    std::optional<QString> value(const QString& section, const QString& key) const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Sets a value, adding the key and the section when they are missing. A value with
    // leading or trailing blanks, or one that itself starts and ends with the same
    // quote, is written in double quotes so that it reads back unchanged. False, and
    // nothing changed, when the value holds a line break or a NUL character, or the
    // section or key name could not be read back as itself.
    [[nodiscard]] bool setValue(const QString& section, const QString& key, const QString& value);

    // The text as the profile rules read it: decimal or 0x hexadecimal, fitting in 32
    // bits (hexadecimal up to 0xFFFFFFFF, read as the signed value with those bits).
    static std::optional<int> parseInt(const QString& text);

private:
    struct Line {
        enum class Kind { Other, Section, Key };
        Kind kind = Kind::Other;
        QString name;  // section or key name without blanks; empty for Other
        QString text;  // the line as it is written
    };

    static Line classify(const QString& text);
    int findSection(const QString& section) const;  // line index, or -1
    int findKey(int sectionLine, const QString& key) const;

    std::vector<Line> lines_;
    bool crlf_ = false;
};
