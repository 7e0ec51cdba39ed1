#pragma once

#include "TGBaseLabel.h"

// The current date and/or time, composed whenever it paints or prints.
class TGDateTimeLabel : public TGBaseLabel {
  public:
    const char* ClassName() const override { return "TGDateTimeLabel"; }

    TGDateFormat DateFormat = dtfDateShort;
    TGTimeFormat TimeFormat = dtfTimeNone;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  protected:
    void ComposeCaption(TBaseReport* report) override;
};
