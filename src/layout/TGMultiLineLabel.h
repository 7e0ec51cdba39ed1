#pragma once

#include "TGMultiLineBaseLabel.h"

// Fixed multi-line text.
class TGMultiLineLabel : public TGMultiLineBaseLabel {
  public:
    const char* ClassName() const override { return "TGMultiLineLabel"; }
    // The wrapped lines follow from the stored text once it is read.
    void AfterLoad() override { Rewrap(); }
};
