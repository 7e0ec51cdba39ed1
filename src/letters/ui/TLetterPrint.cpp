#include "TLetterPrint.h"

#include "LetterPrint.h"

TLetterPrint::TLetterPrint(const QTextDocument& Template, xbase::Table& addresses, int copies, bool onlyCurrent,
                           QWidget* parent, PrinterDevice* device)
    : TPrintStatus(PrintKind::Letters, false, parent, device) {
    setObjectName("TLetterPrint");
    setJob([this, &Template, &addresses, copies, onlyCurrent](TBaseReport& r) {
        LetterPrint::PrintRecords(r, addresses, Template, copies, onlyCurrent, &pages_);
    });
}
