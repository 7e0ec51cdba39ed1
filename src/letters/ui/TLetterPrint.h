#pragma once

#include "TPrintStatus.h"

namespace LetterPrint {
class LetterJob;
}

// "Print Status Screen" for letters: runs a letter job (LetterPrint::LetterJob), the
// stored letter once for each record of the job's selection, each merged into a fresh
// working copy. Shown modally it runs at once; "Cancel" asks "Cancel print job?" first.
// The caller has chosen the printer and had the job select its records.
class TLetterPrint : public TPrintStatus {
    Q_OBJECT

  public:
    explicit TLetterPrint(LetterPrint::LetterJob& job, QWidget* parent = nullptr, PrinterDevice* device = nullptr);

    // The pages printed so far.
    int pages() const;

  private:
    LetterPrint::LetterJob& job_;
};
