#pragma once

#include "TPrintStatus.h"

class QTextDocument;
namespace xbase {
class Table;
}

// "Print Status Screen" for letters: prints the stored letter (`Template`, never
// changed) once for each record of the address table's selection from its current
// record on, each merged into a fresh working copy, `copies` times. Shown modally it
// runs at once; "Cancel" asks "Cancel print job?" first. The caller has chosen the
// printer and selected the records (LetterPrint::SelectRecords).
class TLetterPrint : public TPrintStatus {
    Q_OBJECT

  public:
    TLetterPrint(const QTextDocument& Template, xbase::Table& addresses, int copies, bool onlyCurrent,
                 QWidget* parent = nullptr, PrinterDevice* device = nullptr);

    // The pages printed so far.
    int pages() const { return pages_; }

  private:
    int pages_ = 0;
};
