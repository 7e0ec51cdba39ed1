#include "TLetterPrint.h"

#include "LetterPrint.h"

TLetterPrint::TLetterPrint(LetterPrint::LetterJob& job, QWidget* parent, PrinterDevice* device)
    : TPrintStatus(PrintKind::Letters, false, parent, device), job_(job) {
    setObjectName("TLetterPrint");
    setJob(job);
}

int TLetterPrint::pages() const { return job_.pages(); }
