#include "TGBaseLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "LayoutMetrics.h"
#include "TBaseReport.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

namespace {

bool validAngle(int angle) { return angle == 0 || angle == 90 || angle == 180 || angle == 270; }

// How far the print clip reaches beyond the text rectangle's left and top, inches.
constexpr double kClipExtension = 0.03;

}  // namespace

TGBaseLabel::TGBaseLabel() {
    font_ = LayoutFont::Make("Arial", 10);
    SetSizeSilently(142, 33);
}

void TGBaseLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    MarkForMeasuring();
}

void TGBaseLabel::SetDepthHighlight(int depth) {
    depthHighlight_ = depth;
    MarkForMeasuring();
}

void TGBaseLabel::SetDepthShadow(int depth) {
    depthShadow_ = depth;
    MarkForMeasuring();
}

void TGBaseLabel::SetDirectionHighlight(THighlightDirection d) {
    directionHighlight_ = d;
    MarkForMeasuring();
}

void TGBaseLabel::SetDirectionShadow(TShadowDirection d) {
    directionShadow_ = d;
    MarkForMeasuring();
}

void TGBaseLabel::SetColorHighlight(TColor c) {
    colorHighlight_ = c;
    MarkForMeasuring();
}

void TGBaseLabel::SetColorShadow(TColor c) {
    colorShadow_ = c;
    MarkForMeasuring();
}

void TGBaseLabel::SetAngle(int angle) {
    if (!validAngle(angle) || angle == angle_) return;
    angle_ = angle;
    MarkForMeasuring();
    if (Loading()) return;
    if (angle != 0) alignment_ = taLeftJustify;
    const QPoint size = layout::RotatedSize(angle, Width(), Height());
    if (size.x() != Width() || size.y() != Height()) SetBounds(Left(), Top(), size.x(), size.y());
}

void TGBaseLabel::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    MarkForMeasuring();
}

void TGBaseLabel::SetFont(const LayoutFont& font) {
    font_ = font;
    MarkForMeasuring();
}

void TGBaseLabel::SetTransparent(bool on) {
    transparent_ = on;
    MarkForMeasuring();
}

void TGBaseLabel::SetBackColor(TColor c) {
    backColor_ = c;
    MarkForMeasuring();
}

QFont TGBaseLabel::ScreenFont() const { return font_.ToQFont(Zoom()); }

void TGBaseLabel::Measure() {
    const QFontMetrics fm(ScreenFont());
    layout::SingleLineInput in;
    in.angle = angle_;
    in.width = Width();
    in.height = Height();
    in.lineHeight = fm.height() + std::max(0, fm.leading());
    in.textWidth = fm.horizontalAdvance(caption_ + ' ');
    in.shadow = layout::ShadowOffset(directionShadow_, depthShadow_);
    in.highlight = layout::HighlightOffset(directionHighlight_, depthHighlight_);
    in.alignment = alignment_;
    layout_ = layout::MeasureSingleLine(in);
    SetSizeSilently(layout_.width, layout_.height);
    needsMeasuring_ = false;
}

const layout::SingleLineLayout& TGBaseLabel::TextLayout() {
    if (needsMeasuring_) Measure();
    return layout_;
}

void TGBaseLabel::FitToText() {
    if (angle_ != 0) return;
    Measure();
    const QFontMetrics fm(ScreenFont());
    const int width = std::max({layout_.main.left, layout_.shadow.left, layout_.highlight.left}) +
                      fm.horizontalAdvance(caption_ + "     ");
    const int height = std::max({layout_.main.top, layout_.shadow.top, layout_.highlight.top}) + fm.height();
    SetBounds(Left(), Top(), std::max(Width(), width), std::max(Height(), height));
}

void TGBaseLabel::BoundsChanged() {
    MarkForMeasuring();
    if (Width() < 1 || Height() < 1) SetSizeSilently(std::max(1, Width()), std::max(1, Height()));
    TGGraphicControl::BoundsChanged();
}

void TGBaseLabel::ApplyFont(const LayoutFont& font) { SetFont(font); }

void TGBaseLabel::ComposeCaption(TBaseReport*) {}

void TGBaseLabel::Paint(QPainter& painter) {
    ComposeCaption(nullptr);
    if (needsMeasuring_ || Width() < 5 || Height() < 5) Measure();
    if (!transparent_) painter.fillRect(0, 0, Width(), Height(), layout::ToQColor(backColor_));
    const QFont font = ScreenFont();
    const QFontMetrics fm(font);
    auto run = [&](const layout::TextBox& box, QPoint start, TColor color) {
        painter.save();
        painter.setClipRect(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                            Qt::IntersectClip);
        painter.translate(start);
        painter.rotate(-angle_);
        painter.setFont(font);
        painter.setPen(layout::ToQColor(color));
        painter.drawText(QPoint(0, fm.ascent()), caption_);
        painter.restore();
    };
    if (depthShadow_ > 0 && directionShadow_ != sdNone)
        run(layout_.shadow, layout_.shadowStart, colorShadow_);
    if (depthHighlight_ > 0 && directionHighlight_ != hdNone)
        run(layout_.highlight, layout_.highlightStart, colorHighlight_);
    run(layout_.main, layout_.mainStart, font_.Color);
    PaintHandles(painter);
}

void TGBaseLabel::PrintTo(TBaseReport& report, double x, double y) {
    ComposeCaption(&report);
    Measure();
    const double ppi = layout::kPixelsPerInch;
    const double left = x + Left() / ppi, top = y + Top() / ppi;
    if (!transparent_) {
        const QColor back = layout::ToQColor(backColor_);
        report.setPen(back, Qt::NoPen, 1);
        report.setBrush(back, Qt::SolidPattern);
        report.rectangle(left, top, x + (Left() + Width() - 1) / ppi, y + (Top() + Height() - 1) / ppi);
    }
    report.setFont(font_.Name, font_.PrintPoints());
    report.setBold(font_.has(fsBold));
    report.setItalic(font_.has(fsItalic));
    report.setUnderline(font_.has(fsUnderline));
    report.setFontRotation(angle_);
    report.setBrush(Qt::white, Qt::NoBrush);
    auto run = [&](const layout::TextBox& box, QPoint start, TColor color) {
        report.setFontColor(layout::ToQColor(color));
        const ReportRect clip =
            report.makeRect(left + box.left / ppi - kClipExtension, top + box.top / ppi - kClipExtension,
                            left + box.right / ppi, top + box.bottom / ppi);
        report.textRect(clip, left + start.x() / ppi, top + start.y() / ppi, caption_);
    };
    if (depthShadow_ > 0 && directionShadow_ != sdNone)
        run(layout_.shadow, layout_.shadowStart, colorShadow_);
    if (depthHighlight_ > 0 && directionHighlight_ != hdNone)
        run(layout_.highlight, layout_.highlightStart, colorHighlight_);
    run(layout_.main, layout_.mainStart, font_.Color);
    report.setFontRotation(0);
}

void TGBaseLabel::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.enumeration("Alignment", alignment_, taLeftJustify);
    w.integer("DepthHighlight", depthHighlight_, 0);
    w.integer("DepthShadow", depthShadow_, 0);
    w.enumeration("DirectionHighlight", directionHighlight_, hdUpLeft);
    w.enumeration("DirectionShadow", directionShadow_, sdDownRight);
    w.color("colorHighlight", colorHighlight_, clAqua);
    w.color("colorShadow", colorShadow_, clGray);
    w.integer("Angle", angle_, 0);
    w.string("Caption", caption_);
    w.font("Font", font_);
    w.boolean("Transparent", transparent_);
    w.color("BackColor", backColor_);
}

ReadResult TGBaseLabel::ReadProperty(const PropertyReader& r) {
    MarkForMeasuring();
    if (r.is("Alignment")) return r.enumeration(&alignment_);
    if (r.is("DepthHighlight")) return r.integer(&depthHighlight_);
    if (r.is("DepthShadow")) return r.integer(&depthShadow_);
    if (r.is("DirectionHighlight")) return r.enumeration(&directionHighlight_);
    if (r.is("DirectionShadow")) return r.enumeration(&directionShadow_);
    if (r.is("colorHighlight")) return r.color(&colorHighlight_);
    if (r.is("colorShadow")) return r.color(&colorShadow_);
    if (r.is("Angle")) {
        int angle = 0;
        const ReadResult result = r.integer(&angle);
        if (result == ReadResult::Ok && validAngle(angle)) angle_ = angle;
        return result;
    }
    if (r.is("Caption")) return r.string(&caption_);
    if (r.is("Transparent")) return r.boolean(&transparent_);
    if (r.is("BackColor")) return r.color(&backColor_);
    const ReadResult font = r.font("Font", &font_);
    if (font != ReadResult::Unknown) return font;
    return TGGraphicControl::ReadProperty(r);
}
