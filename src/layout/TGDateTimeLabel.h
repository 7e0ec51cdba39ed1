#pragma once

#include <QDateTime>
#include <functional>

#include "TGBaseLabel.h"

// The current date and/or time, composed whenever it paints or prints.
class TGDateTimeLabel : public TGBaseLabel {
  public:
    const char* ClassName() const override { return "TGDateTimeLabel"; }

    TGDateFormat DateFormat = dtfDateShort;
    TGTimeFormat TimeFormat = dtfTimeNone;

    // The clock the objects read; tests set a fixed one. Null: the system clock.
    static std::function<QDateTime()> Clock;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  protected:
    void ComposeCaption(TBaseReport* report) override;
};
