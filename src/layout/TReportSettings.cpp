#include "TReportSettings.h"

#include <cmath>
#include <cstdint>

#include "LayoutMetrics.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

using layout::LayoutStreamReader;
using layout::LayoutStreamWriter;
using layout::StreamValue;
using layout::stream::Tag;

bool TReportBandFrame::operator==(const TReportBandFrame& o) const {
    return LeftBorder == o.LeftBorder && TopBorder == o.TopBorder && RightBorder == o.RightBorder &&
           BottomBorder == o.BottomBorder && LineWidth == o.LineWidth && ShadePercent == o.ShadePercent &&
           ShadeColor == o.ShadeColor;
}

bool TReportSettings::operator==(const TReportSettings& o) const {
    for (int i = 0; i < 4; ++i)
        if (!(Frames[i] == o.Frames[i])) return false;
    return PageWidth == o.PageWidth && PageHeight == o.PageHeight && MarginLeft == o.MarginLeft &&
           MarginTop == o.MarginTop && MarginRight == o.MarginRight && MarginBottom == o.MarginBottom &&
           HeaderHeight == o.HeaderHeight && DetailHeight == o.DetailHeight &&
           FooterHeight == o.FooterHeight && UseHeader == o.UseHeader && UseDetail == o.UseDetail &&
           UseMemo == o.UseMemo && UseFooter == o.UseFooter && MemoFontName == o.MemoFontName &&
           MemoFontSize == o.MemoFontSize && MemoBold == o.MemoBold && MemoItalic == o.MemoItalic &&
           MemoAlignment == o.MemoAlignment && DefaultFontName == o.DefaultFontName &&
           DefaultFontSize == o.DefaultFontSize && DefaultBold == o.DefaultBold &&
           DefaultItalic == o.DefaultItalic;
}

int TReportSettings::PixelsToThousandths(int pixels, int ppi) {
    // In integers: a floating quotient can land just below a whole number.
    return int(int64_t(pixels) * 1000 / ppi);
}

int TReportSettings::ThousandthsToPixels(int thousandths, int ppi) {
    return int(std::lround(thousandths * 0.001 * ppi));
}

void TReportSettings::Write(LayoutStreamWriter& w) const {
    const int ppi = layout::kPixelsPerInch;
    w.writeListBegin();
    for (int length : {PageWidth, PageHeight, MarginLeft, MarginTop, MarginRight, MarginBottom, HeaderHeight,
                       DetailHeight, FooterHeight})
        w.writeInteger(PixelsToThousandths(length, ppi));
    for (bool flag : {UseHeader, UseDetail, UseMemo, UseFooter}) w.writeBoolean(flag);
    w.writeString(MemoFontName);
    w.writeInteger(MemoFontSize);
    w.writeBoolean(MemoBold);
    w.writeBoolean(MemoItalic);
    w.writeInteger(MemoAlignment);
    w.writeString(DefaultFontName);
    w.writeInteger(DefaultFontSize);
    w.writeBoolean(DefaultBold);
    w.writeBoolean(DefaultItalic);
    for (const TReportBandFrame& f : Frames) {
        for (bool border : {f.LeftBorder, f.TopBorder, f.RightBorder, f.BottomBorder}) w.writeBoolean(border);
        w.writeInteger(f.LineWidth);
        w.writeInteger(f.ShadePercent);
        w.writeInteger(f.ShadeColor);
    }
    w.writeListEnd();
}

LayoutStatus TReportSettings::Read(LayoutStreamReader& r) {
    TReportSettings s = *this;
    auto integer = [&](int* out) {
        const StreamValue v = r.readValue();
        if (!r.ok()) return;
        if (!v.isInteger()) return r.fail("Invalid property value");
        *out = int(v.integer);
    };
    auto boolean = [&](bool* out) {
        const StreamValue v = r.readValue();
        if (!r.ok()) return;
        if (v.tag != Tag::BoolFalse && v.tag != Tag::BoolTrue) return r.fail("Invalid property value");
        *out = v.tag == Tag::BoolTrue;
    };
    auto string = [&](QString* out) {
        const StreamValue v = r.readValue();
        if (!r.ok()) return;
        if (!v.isString()) return r.fail("Invalid property value");
        *out = v.text();
    };
    if (r.readByte() != uint8_t(Tag::List) && r.ok()) r.fail("Invalid stream format");
    const int ppi = layout::kPixelsPerInch;
    for (int* length : {&s.PageWidth, &s.PageHeight, &s.MarginLeft, &s.MarginTop, &s.MarginRight,
                        &s.MarginBottom, &s.HeaderHeight, &s.DetailHeight, &s.FooterHeight}) {
        int thousandths = 0;
        integer(&thousandths);
        *length = ThousandthsToPixels(thousandths, ppi);
    }
    for (bool* flag : {&s.UseHeader, &s.UseDetail, &s.UseMemo, &s.UseFooter}) boolean(flag);
    string(&s.MemoFontName);
    integer(&s.MemoFontSize);
    boolean(&s.MemoBold);
    boolean(&s.MemoItalic);
    integer(&s.MemoAlignment);
    string(&s.DefaultFontName);
    integer(&s.DefaultFontSize);
    boolean(&s.DefaultBold);
    boolean(&s.DefaultItalic);
    for (TReportBandFrame& f : s.Frames) {
        for (bool* border : {&f.LeftBorder, &f.TopBorder, &f.RightBorder, &f.BottomBorder}) boolean(border);
        integer(&f.LineWidth);
        integer(&f.ShadePercent);
        integer(&f.ShadeColor);
    }
    while (r.ok() && !r.endOfList()) r.readValue();
    if (!r.ok()) return LayoutStatus::Error(r.error());
    *this = s;
    return LayoutStatus::OK();
}
