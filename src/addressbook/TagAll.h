#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "Table.h"

// Tagging every visible record: "Tag All Filter Matches", and the tagging of the
// state/ZIP and duplicate checks' results. The Tagging dialog shows the progress and
// offers Cancel; the loop itself is here.
namespace TagAll {

// The question before tagging (caption kQuestionCaption).
inline const QString kQuestion = QStringLiteral("Tag all records matching filter?");
inline const QString kQuestionCaption = QStringLiteral("TAG ALL");
// Cancel's question (caption kCancelCaption).
inline const QString kCancelQuestion = QStringLiteral("Cancel Tagging?");
inline const QString kCancelCaption = QStringLiteral("CANCEL");
// The dialog's label while and after it runs.
inline const QString kRunningText = QStringLiteral("Tagging Records");
inline const QString kCompleteText = QStringLiteral("Complete");
inline const QString kCancelledText = QStringLiteral("Cancelled before completion");
// The progress line: "<n> tagged".
QString ProgressText(uint32_t tagged);

enum class Outcome { Complete, Cancelled, Failed };

struct Result {
    Outcome outcome = Outcome::Complete;
    uint32_t tagged = 0;  // records written
    QString message;      // what went wrong, for Failed
    // The dialog's label afterwards: kCompleteText, else kCancelledText.
    QString labelText() const { return outcome == Outcome::Complete ? kCompleteText : kCancelledText; }
};

// Writes `globalTagId` into TAG of every record visible under the table's query, from
// the first record in the current order, each written as it is passed. After each
// record `progress` is called with the number tagged so far; returning false stops the
// loop there, leaving the records visited so far tagged (Cancelled). A write that fails
// stops the loop (Failed). Afterwards the table is on its first record.
Result TagAll(xbase::Table& table, const QString& globalTagId,
              const std::function<bool(uint32_t tagged)>& progress = nullptr);

}  // namespace TagAll
