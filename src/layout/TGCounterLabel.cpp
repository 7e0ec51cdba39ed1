#include "TGCounterLabel.h"

#include "CounterText.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

TGCounterLabel::TGCounterLabel() { ComposeText(); }

void TGCounterLabel::SetStartingnumber(int n) {
    if (n == startingNumber_) return;
    startingNumber_ = n;
    ResetCounter();
}

void TGCounterLabel::ComposeText() {
    SetCaption(layout::CounterText(TextBefore, value_, LeadingZeros, TextAfter));
}

void TGCounterLabel::ComposeCaption(TBaseReport*) { ComposeText(); }

void TGCounterLabel::AdvanceCounter() {
    ++repeat_;
    // At or past: a RepeatEach below 1 (possible only in a damaged file) counts every
    // label rather than never.
    if (repeat_ >= RepeatEach) {
        ++value_;
        repeat_ = 0;
        ComposeText();
    }
}

void TGCounterLabel::ResetCounter() {
    value_ = startingNumber_;
    repeat_ = 0;
    ComposeText();
}

void TGCounterLabel::WriteProperties(PropertyWriter& w) const {
    TGBaseLabel::WriteProperties(w);
    w.string("TextBefore", TextBefore);
    w.string("TextAfter", TextAfter);
    w.integer("Startingnumber", startingNumber_);
    w.integer("RepeatEach", RepeatEach);
    w.integer("LeadingZeros", LeadingZeros);
}

ReadResult TGCounterLabel::ReadProperty(const PropertyReader& r) {
    if (r.is("TextBefore")) return r.string(&TextBefore);
    if (r.is("TextAfter")) return r.string(&TextAfter);
    if (r.is("Startingnumber")) {
        const ReadResult result = r.integer(&startingNumber_);
        value_ = startingNumber_;
        repeat_ = 0;
        return result;
    }
    if (r.is("RepeatEach")) return r.integer(&RepeatEach);
    if (r.is("LeadingZeros")) return r.integer(&LeadingZeros);
    return TGBaseLabel::ReadProperty(r);
}
