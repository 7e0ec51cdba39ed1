#pragma once

#include "TGBaseLabel.h"

// A running number with text before and after it. It counts up by one every
// RepeatEach labels.
class TGCounterLabel : public TGBaseLabel {
  public:
    TGCounterLabel();
    const char* ClassName() const override { return "TGCounterLabel"; }

    QString TextBefore;
    QString TextAfter;
    int Startingnumber() const { return startingNumber_; }
    // A different starting number resets the counter.
    void SetStartingnumber(int n);
    int RepeatEach = 1;
    int LeadingZeros = 0;

    int Value() const { return value_; }
    // Puts the current text into Caption.
    void ComposeText();

    void AdvanceCounter() override;
    void ResetCounter() override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  protected:
    void ComposeCaption(TBaseReport* report) override;

  private:
    int startingNumber_ = 1;
    int value_ = 1;
    int repeat_ = 0;
};
