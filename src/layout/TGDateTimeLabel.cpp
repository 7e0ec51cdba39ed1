#include "TGDateTimeLabel.h"

#include <QDateTime>

#include "DateTimeText.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

void TGDateTimeLabel::ComposeCaption(TBaseReport*) {
    SetCaption(layout::DateTimeText(QDateTime::currentDateTime(), DateFormat, TimeFormat));
}

void TGDateTimeLabel::WriteProperties(PropertyWriter& w) const {
    TGBaseLabel::WriteProperties(w);
    w.enumeration("DateFormat", DateFormat);
    w.enumeration("TimeFormat", TimeFormat);
}

ReadResult TGDateTimeLabel::ReadProperty(const PropertyReader& r) {
    if (r.is("DateFormat")) return r.enumeration(&DateFormat);
    if (r.is("TimeFormat")) return r.enumeration(&TimeFormat);
    return TGBaseLabel::ReadProperty(r);
}
