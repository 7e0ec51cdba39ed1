#pragma once

#include "TGBaseLabel.h"

// The print job's page number; "##" on the screen.
class TGPageNumberLabel : public TGBaseLabel {
  public:
    const char* ClassName() const override { return "TGPageNumberLabel"; }

  protected:
    void ComposeCaption(TBaseReport* report) override;
};
