#pragma once

#include <QString>
#include <string>
#include <vector>

class BatchAppender;

namespace xbase {
class CodePage;
class Table;
}  // namespace xbase

// One field copied from a source record into a record being appended.
struct CopiedField {
    enum class MemoRule {
        AsItIs,
        BlankAfterFours,  // MemoWithBlank(): the copies of the older files and of Copy Out
    };
    int from = -1;      // field of the source
    int to = -1;        // field of the target
    bool memo = false;  // copy the source's memo text
    MemoRule rule = MemoRule::AsItIs;
};

// Copies fields of a source table's current record into the record an appender has
// begun: the text without trailing blanks (numbers without leading ones), a memo's
// text as it is, converted from the source's code page to the target's. Empty values
// are not written. Both tables must outlive it.
class RecordCopier {
  public:
    RecordCopier(const xbase::Table& source, const xbase::Table& target);

    // False with the reason when a value cannot be read or stored; a character the
    // target's code page cannot hold is named with its record and field ("Record 5,
    // field NAME: The character ...").
    bool copy(const std::vector<CopiedField>& fields, BatchAppender& appender, QString* reason);
    // The text of one field of the current source record in the target's code page;
    // false with the reason as copy() gives it.
    bool value(const CopiedField& field, std::string* out, QString* reason);

  private:
    const xbase::Table& source_;
    const xbase::CodePage& from_;
    const xbase::CodePage& to_;
    bool samePage_;
    std::string text_, utf8_;
};

// The memo rule of the older versions' copies: a text whose length (line breaks
// included) is a positive multiple of 4 gets a blank at the end of its last line, that
// is before a line break that ends the text, else at its very end.
std::string MemoWithBlank(std::string text);
