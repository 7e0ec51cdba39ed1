#include "TGMultiLineBaseLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "LayoutMetrics.h"
#include "TBaseReport.h"
#include "TextWrap.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

TGMultiLineBaseLabel::TGMultiLineBaseLabel() {
    font_ = LayoutFont::Make("Arial", 10);
    SetSizeSilently(190, 33);
}

void TGMultiLineBaseLabel::SetItems(const QStringList& items) {
    items_ = items;
    Rewrap();
}

void TGMultiLineBaseLabel::SetAlignment(TAlignment a) { alignment_ = a; }

void TGMultiLineBaseLabel::SetFont(const LayoutFont& font) {
    font_ = font;
    Rewrap();
}

void TGMultiLineBaseLabel::SetWordWrap(bool on) {
    wordWrap_ = on;
    if (on) Rewrap();
}

QStringList TGMultiLineBaseLabel::BreakIntoLines(const QStringList& paragraphs) const {
    if (!wordWrap_) return paragraphs;
    const QFontMetrics fm(ScreenFont());
    return layout::WrapLines(paragraphs, Width(),
                             [&fm](const QString& s) { return fm.horizontalAdvance(s); });
}

void TGMultiLineBaseLabel::Rewrap() { wrapped_ = wordWrap_ ? BreakIntoLines(items_) : QStringList(); }

void TGMultiLineBaseLabel::FitToText() {
    const QFontMetrics fm(ScreenFont());
    const QStringList& lines = Lines();
    int widest = Width();
    for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
    // At least one line high: an object of no height could no longer be seen or picked.
    const int height = fm.height() * std::max(1, FitLineCount());
    SetBounds(Left(), Top(), widest, height);
}

void TGMultiLineBaseLabel::BoundsChanged() {
    if (!Loading()) Rewrap();
    TGGraphicControl::BoundsChanged();
}

void TGMultiLineBaseLabel::ApplyFont(const LayoutFont& font) {
    font_ = font;
    RefreshData();
    Rewrap();
}

void TGMultiLineBaseLabel::Paint(QPainter& painter) {
    const QFont font = ScreenFont();
    const QFontMetrics fm(font);
    QStringList lines = Lines();
    const QString placeholder = memoPlaceholder_ ? "<blank memo>" : "<blank>";
    if (lines.isEmpty()) {
        lines << placeholder;
    } else if (lines.size() == 1 && lines[0].trimmed().isEmpty()) {
        lines << placeholder;
    }
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font);
    painter.setPen(layout::ToQColor(font_.Color));
    painter.setClipRect(0, 0, Width(), Height(), Qt::IntersectClip);
    const int step = fm.height();
    for (int k = 0; k < lines.size(); ++k) {
        const int lw = fm.horizontalAdvance(lines[k]);
        int x = 0;
        if (alignment_ == taRightJustify) x = Width() - lw - 1;
        if (alignment_ == taCenter) x = Width() / 2 - lw / 2 + 1;
        painter.drawText(x, k * step + fm.ascent(), lines[k]);
    }
    painter.restore();
    PaintHandles(painter);
}

void TGMultiLineBaseLabel::PrintTo(TBaseReport& report, double x, double y) {
    const double ppi = layout::kPixelsPerInch;
    const double left = x + Left() / ppi, top = y + Top() / ppi;
    const double right = x + (Left() + Width()) / ppi, bottom = y + (Top() + Height()) / ppi;
    report.setFont(font_.Name, font_.PrintPoints());
    report.setBold(font_.has(fsBold));
    report.setItalic(font_.has(fsItalic));
    report.setFontColor(layout::ToQColor(font_.Color));
    report.setFontRotation(0);
    report.setBrush(Qt::white, Qt::NoBrush);
    const double lineHeight = report.fontLineHeight();
    const double textHeight = report.fontHeight();
    const double pixel = 1.0 / ppi;  // one layout pixel
    // What of the object the page shows: its rectangle, within the label's edge.
    QRectF shown(QPointF(left, top), QPointF(right, bottom));
    if (!report.clipArea().isNull()) shown = shown.intersected(report.clipArea());
    // A line the designer shows whole prints whole: text measures a little differently
    // on paper than on the screen, and the last digits of a ZIP code must not be lost to
    // that difference.
    const QFontMetrics screen(font_.ToQFont());
    const QStringList& lines = Lines();
    printedWhole_ = true;
    for (int k = 0; k < lines.size(); ++k) {
        const double lineTop = top + k * lineHeight;
        if (lineTop >= bottom) {
            printedWhole_ = false;
            break;
        }
        const QString& line = lines[k];
        const double width = report.textWidth(line);
        double lx = left;
        if (alignment_ == taRightJustify) lx = right - width - pixel;
        if (alignment_ == taCenter) lx = left + (right - left) / 2 + pixel - width / 2;
        double clipLeft = left, clipRight = right;
        if (screen.horizontalAdvance(line) <= Width()) {
            clipLeft = std::min(clipLeft, lx);
            clipRight = std::max(clipRight, lx + width);
        }
        report.textRect(report.makeRect(clipLeft, top, clipRight, bottom), lx, lineTop, line);
        // The characters of the line, from the top of the tallest to the foot of the
        // lowest, must lie within what the page shows; a blank line loses nothing.
        if (line.trimmed().isEmpty()) continue;
        const double inkLeft = std::max(clipLeft, shown.left()),
                     inkRight = std::min(clipRight, shown.right());
        constexpr double kSlack = 1e-6;
        if (lineTop + textHeight > std::min(bottom, shown.bottom()) + kSlack || lx < inkLeft - kSlack ||
            lx + width > inkRight + kSlack || lineTop < shown.top() - kSlack)
            printedWhole_ = false;
    }
}

void TGMultiLineBaseLabel::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.strings("Items", items_);
    w.boolean("AutoSize", AutoSize);
    w.enumeration("Alignment", alignment_, taLeftJustify);
    w.font("Font", font_);
    w.boolean("WordWrap", wordWrap_, false);
}

ReadResult TGMultiLineBaseLabel::ReadProperty(const PropertyReader& r) {
    if (r.is("AutoSize")) return r.boolean(&AutoSize);
    if (r.is("Alignment")) return r.enumeration(&alignment_);
    if (r.is("WordWrap")) return r.boolean(&wordWrap_);
    const ReadResult items = r.strings("Items", &items_);
    if (items != ReadResult::Unknown) return items;
    const ReadResult font = r.font("Font", &font_);
    if (font != ReadResult::Unknown) return font;
    return TGGraphicControl::ReadProperty(r);
}
