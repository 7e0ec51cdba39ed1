#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "AppHome.h"

class QTextDocument;
namespace xbase {
class Table;
}

// The stored letters: LETTER.DBF in the home's system-table folder, one record a
// letter, DESCRIPT its description and RTF its text. The store holds the table open
// exclusively for its lifetime; records marked deleted are not letters.
//
// Every change is posted at once; a change that fails leaves the stored letters as
// they were before it (the engine writes nothing partial), and says why.
class LetterStore {
  public:
    static constexpr int kDescriptionWidth = 50;

    struct Entry {
        uint32_t recNo = 0;
        QString description;
    };

    // Opens LETTER.DBF, creating it when missing. On failure `message` is "Unable to
    // Open or Create LETTER.DBF".
    static bool Open(const AppHome& home, std::unique_ptr<LetterStore>* store, QString* message);
    ~LetterStore();
    LetterStore(const LetterStore&) = delete;
    LetterStore& operator=(const LetterStore&) = delete;

    // The letters in the table's order.
    std::vector<Entry> letters();
    // The record of the letter called `description` (trailing blanks ignored; the
    // exact spelling first, else the first one that differs only in letter case);
    // 0 when there is none.
    uint32_t find(const QString& description);

    // The stored RTF of a letter, as bytes.
    bool rtf(uint32_t recNo, QByteArray* rtf, QString* error);
    // LoadRichText: the letter's text into `document` (cleared first). Text that is
    // empty or not RTF loads as what the reader makes of it.
    bool LoadRichText(uint32_t recNo, QTextDocument* document, QString* error);

    // SaveRichText: stores `rtf` as the text of letter `recNo`, or of a new letter when
    // `recNo` is 0, with `description`. The text is passed through a temporary file in
    // the home's temporary folder as lines; when those lines joined by CR LF have a
    // length that is a multiple of 4, one blank is added to the last line. `stored`
    // receives the record written.
    bool SaveRichText(uint32_t recNo, const QString& description, const QByteArray& rtf, QString* error,
                      uint32_t* stored = nullptr);
    // The same for the text of `document`, written as RTF.
    bool SaveRichText(uint32_t recNo, const QString& description, const QTextDocument& document,
                      QString* error, uint32_t* stored = nullptr);

    // A new letter "Clone of " + description (cut to the field's 50 characters) with the
    // text of letter `recNo`.
    bool Clone(uint32_t recNo, QString* error, uint32_t* stored = nullptr);
    // Marks the letter deleted.
    bool Delete(uint32_t recNo, QString* error);

    xbase::Table& table() { return *table_; }
    const AppHome& home() const { return home_; }

    // The text as SaveRichText stores it (the multiple-of-4 rule applied).
    static QByteArray StoredText(const QByteArray& rtf);

  private:
    LetterStore(const AppHome& home, std::unique_ptr<xbase::Table> table);
    bool go(uint32_t recNo, QString* error);
    bool passThroughFile(const QByteArray& rtf, QByteArray* text, QString* error) const;

    AppHome home_;
    std::unique_ptr<xbase::Table> table_;
    int descript_ = -1;
    int rtfField_ = -1;
};
