#pragma once

#include "TGBaseLabel.h"

// Fixed text.
class TGPLabel : public TGBaseLabel {
  public:
    const char* ClassName() const override { return "TGPLabel"; }
};
