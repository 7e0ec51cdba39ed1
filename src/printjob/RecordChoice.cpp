#include "RecordChoice.h"

#include <string>

#include "Messages.h"
#include "RecordMoves.h"
#include "Table.h"

std::string NotDeletedTerm(const xbase::Table& table, DeletedPolicy policy) {
    std::string term;
    if (table.fieldIndex("ISDEL") >= 0) term = "!ISDEL";
    if (policy == DeletedPolicy::FlaggedOrPrefix && table.fieldIndex("PREFIX") >= 0)
        term = "UPPER(PREFIX)<>\"DELETED\"" + (term.empty() ? std::string() : " .AND. " + term);
    return term.empty() ? ".T." : term;
}

Selection SelectRecords(xbase::Table& table, const RecordChoice& choice, DeletedPolicy policy,
                        Messages& messages) {
    Selection selection;
    const uint32_t start = choice.start != 0 ? choice.start : (table.eof() ? 0 : table.recNo());
    xbase::Status s;
    if (choice.records == RecordChoice::Records::All) {
        table.setDeleted(true);
        s = table.query(NotDeletedTerm(table, policy));
    } else if (choice.records == RecordChoice::Records::Current) {
        s = table.query("Recno()=" + std::to_string(start) + " .AND. " + NotDeletedTerm(table, policy));
    }
    if (!s.ok()) {
        selection.error = "The address file cannot be selected: " + QString::fromStdString(s.message());
        return selection;
    }
    selection.ok = true;
    if (choice.startFromCurrent && RecordMoves::StartAt(table, start)) return selection;
    if (choice.startFromCurrent) messages.inform(RecordChoice::kOutOfRange);
    else (void)table.goTop();
    selection.fromFirst = true;
    return selection;
}
