#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "JobWindow.h"
#include "TagAll.h"

class QLabel;
class QPushButton;

namespace xbase {
class Table;
}

// "Tagging": shows a tagging loop's progress ("<n> tagged") with Cancel, then its
// outcome ("Complete" or "Cancelled before completion") with Ok, which closes it.
// Cancel asks "Cancel Tagging?" first; Yes stops the loop before the next record, and
// the records tagged so far stay tagged. Tag All Filter Matches uses it, and so do the
// checks that tag the records they find.
class TTagging : public JobWindow {
    Q_OBJECT

  public:
    explicit TTagging(QWidget* parent = nullptr);

    // A tagging loop: it calls `progress` after each record with the number tagged so
    // far, and stops when that returns false.
    using Loop = std::function<TagAll::Result(const std::function<bool(uint32_t tagged)>& progress)>;

    // Shows the window modally and runs `loop` in it, then shows the outcome with Ok
    // and returns once the user has pressed it. A failed write is reported with the
    // program's message.
    TagAll::Result runLoop(const Loop& loop);

    // "Tag All Filter Matches": asks "Tag all records matching filter?" (TAG ALL); on Yes
    // writes `globalTagId` into every record visible under the table's query, in this
    // window, and waits for Ok. Nothing when the question is answered No. The table is
    // on its first record afterwards.
    static std::optional<TagAll::Result> TagAllFilterMatches(xbase::Table& table, const QString& globalTagId,
                                                             QWidget* parent = nullptr);

    QLabel* TaggingLabel;
    QLabel* ProgressLabel;  // the job's status line
    QPushButton* OkButton;

  signals:
    // After each record, before the window's events run: for tests and callers that
    // want to follow the loop.
    void progressed(uint32_t tagged);

  protected:
    void jobEnded(JobResult result) override;

  private:
    TagAll::Result result_;
};
