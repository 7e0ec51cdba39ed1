#include "ReportSelection.h"

#include <string>

#include "Messages.h"
#include "RecordMoves.h"
#include "Table.h"

namespace ReportSelection {

bool Select(xbase::Table& table, Records records, bool startFromCurrent, uint32_t current, Messages& messages,
            QString* error) {
    error->clear();
    xbase::Status s;
    // Records marked deleted (ISDEL) are left out with those whose prefix marks them
    // DELETED: no other part of the program prints them.
    const std::string notDeleted = table.fieldIndex("ISDEL") >= 0 ? " .AND. !ISDEL" : "";
    if (records == Records::All) {
        table.setDeleted(true);
        s = table.query((table.fieldIndex("PREFIX") >= 0 ? "UPPER(PREFIX)<>\"DELETED\"" : ".T.") +
                        notDeleted);
    } else if (records == Records::Current) {
        s = table.query("Recno()=" + std::to_string(current) + notDeleted);
    }
    if (!s.ok()) {
        *error = "The address file cannot be selected: " + QString::fromStdString(s.message());
        return false;
    }
    if (startFromCurrent) {
        if (RecordMoves::StartAt(table, current)) return false;
        messages.inform(kOutOfRange);
        return true;
    }
    (void)table.goTop();
    return true;
}

}  // namespace ReportSelection
