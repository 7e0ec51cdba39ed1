#include "TEnvelopePanel.h"

#include <QPainter>
#include <algorithm>

#include "LayoutMetrics.h"

TEnvelopePanel::TEnvelopePanel(TGOwner* owner) : TGToolPanel(owner) {}

TEnvelopePanel::Zones TEnvelopePanel::TemplateZones() const {
    const int ppi = layout::kPixelsPerInch;
    const float zoom = Zoom();
    const auto L = [&](double inches) { return int(ppi * inches * zoom); };
    const int W = Width(), H = Height();
    // The address area starts half an inch in on envelopes narrower than 10.25 inches,
    // else 9.75 inches left of the right edge.
    const int addressLeft = int(W / zoom) < int(ppi * 10.25) ? L(0.5) : W - L(9.75);
    const auto box = [](int left, int top, int right, int bottom) {
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    };
    Zones z;
    z.returnAddress = box(1, 1, W / 2, std::min(H - L(2.75), H / 3));
    z.barcodeClearZone = box(W - L(4), H - L(0.625), W - L(0.5), H - 1);
    z.addressArea = box(addressLeft, H - L(2.75), W - L(0.5), H - L(0.625));
    z.fimArea = box(W - L(3), 1, W - L(2), L(0.625));
    return z;
}

void TEnvelopePanel::PaintBackground(QPainter& painter) {
    TGDataPanel::PaintBackground(painter);
    const float zoom = Zoom();
    if (ShowTemplate) {
        const Zones z = TemplateZones();
        painter.save();
        painter.setBrush(QColor(239, 239, 239));
        painter.setPen(QPen(QColor(128, 128, 128), 1));
        for (const QRect& r : {z.returnAddress, z.barcodeClearZone, z.addressArea, z.fimArea})
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        QFont font("Arial");
        font.setPointSize(std::max(1, int(zoom * 8)));
        painter.setFont(font);
        const auto caption = [&](QPoint at, const QString& text) {
            const QFontMetrics fm(font);
            const QRect r(at, QSize(fm.horizontalAdvance(text), fm.height()));
            painter.fillRect(r, QColor(192, 192, 192));
            painter.setPen(Qt::black);
            painter.drawText(r.left(), r.top() + fm.ascent(), text);
        };
        caption(QPoint(3, 3), "[Return Address Area]");
        caption(z.barcodeClearZone.topLeft() + QPoint(2, 2), "[Barcode Clear Zone]");
        caption(z.addressArea.topLeft() + QPoint(2, 2), "[Address Area]");
        caption(QPoint(z.fimArea.left() + 2, 3), "[FIM Area]");
        painter.restore();
    }
    if (ShowPrintableArea) {
        painter.save();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        painter.drawRect(QRect(
            QPoint(int(MarginLeft * zoom), int(MarginTop * zoom)),
            QPoint(int((PageWidth - MarginRight) * zoom) - 1, int((PageHeight - MarginBottom) * zoom) - 1)));
        painter.restore();
    }
}
