#include "TGIMBarCode.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "LayoutMetrics.h"
#include "TBaseReport.h"
#include "TGDataPanel.h"
#include "TGDataSet.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;
namespace imb = layout::imb;

TGIMBarCode::TGIMBarCode() {
    // A new object reads the address file's own fields and is just big enough for the
    // barcode with its clear zones.
    BarcodeIdentifier = "00";
    ZipCodeField = "ZIP";
    AddressField = "STREET";
    const double ppi = layout::kPixelsPerInch;
    SetSizeSilently(int(std::ceil(imb::kNeededWidth * ppi)), int(std::ceil(imb::kNeededHeight * ppi)));
}

void TGIMBarCode::BeginReading() {
    // Empty texts are not stored: a file without them means empty, not the new object's
    // field names.
    BarcodeIdentifier.clear();
    ZipCodeField.clear();
    AddressField.clear();
}

void TGIMBarCode::SetStartingnumber(int n) {
    if (n == startingNumber_) return;
    startingNumber_ = n;
    ResetCounter();
}

void TGIMBarCode::SetRecordTexts(const QString& zip, const QString& address, const QString& serialField) {
    zip_ = zip;
    address_ = address;
    serialField_ = serialField;
}

QString TGIMBarCode::SerialText() const {
    switch (SerialSource) {
        case imbsFixed:
            return SerialNumber.trimmed();
        case imbsField:
            return serialField_.trimmed();
        case imbsCounter:
            break;
    }
    return QString::number(value_);
}

QString TGIMBarCode::TrackingCode(QString* error) const {
    return imb::TrackingCode(BarcodeIdentifier.trimmed(), ServiceType.trimmed(), MailerIdentifier.trimmed(),
                             SerialText(), error);
}

QString TGIMBarCode::RoutingCode(QString* error) const {
    return imb::RoutingCode(zip_, address_, RoutingType, error);
}

imb::Encoding TGIMBarCode::CurrentEncoding() const {
    imb::Encoding e;
    const QString tracking = TrackingCode(&e.error);
    if (!e.ok()) return e;
    const QString routing = RoutingCode(&e.error);
    if (!e.ok()) return e;
    return imb::Encode(tracking, routing);
}

QString TGIMBarCode::DesignerWarning() const {
    const imb::Encoding e = CurrentEncoding();
    if (!e.ok()) return e.error;
    const double widthInches = Width() / Zoom() / layout::kPixelsPerInch;
    // A pixel's rounding is no reason to complain.
    if (widthInches + 1.0 / layout::kPixelsPerInch < imb::kNeededWidth)
        return QString("Too narrow: the barcode needs %1 in, the object is %2 in")
            .arg(imb::kNeededWidth, 0, 'f', 2)
            .arg(widthInches, 0, 'f', 2);
    return QString();
}

void TGIMBarCode::Paint(QPainter& painter) {
    const imb::Encoding e = CurrentEncoding();
    const double scale = layout::kPixelsPerInch * Zoom();
    if (e.ok()) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        const double x0 = imb::kSideClearZone * scale, y0 = imb::kTopClearZone * scale;
        for (int i = 0; i < e.states.size(); ++i) {
            const QChar s = e.states[i];
            painter.fillRect(QRectF(x0 + i * imb::kBarPitch * scale, y0 + imb::BarTop(s) * scale,
                                    std::max(1.0, imb::kBarWidth * scale), imb::BarHeight(s) * scale),
                             Qt::black);
        }
        painter.restore();
    }
    const QString warning = DesignerWarning();
    if (!warning.isEmpty()) {
        painter.save();
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        painter.drawRect(0, 0, Width() - 1, Height() - 1);
        QFont font = painter.font();
        font.setPixelSize(std::max(8, int(Height() * 0.45)));
        painter.setFont(font);
        // On a white ground, over the bars, and cut to the object's width.
        const QRect area(2, 0, Width() - 4, Height());
        const QString shown = painter.fontMetrics().elidedText(warning, Qt::ElideRight, area.width());
        const QRect box = painter.fontMetrics().boundingRect(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
        painter.fillRect(box & area, Qt::white);
        painter.setPen(Qt::red);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
        painter.restore();
    }
    PaintHandles(painter);
}

void TGIMBarCode::RefreshData() {
    const TGDataPanel* panel = DataPanel();
    const TGDataSet* data = panel ? panel->DataSet() : nullptr;
    auto text = [data](const QString& name) {
        const int field = data && !name.isEmpty() ? data->FindField(name) : -1;
        return field < 0 ? QString() : data->Text(field);
    };
    zip_ = text(ZipCodeField);
    address_ = text(AddressField);
    serialField_ = text(SerialField);
}

void TGIMBarCode::AdvanceCounter() {
    // A counter at the largest number stays there (its serial number is long past
    // printable); counting on would overflow.
    if (value_ == std::numeric_limits<int>::max()) return;
    ++repeat_;
    // At or past: a RepeatEach below 1 (possible only in a damaged file) counts every
    // label rather than never.
    if (repeat_ >= RepeatEach) {
        ++value_;
        repeat_ = 0;
    }
}

void TGIMBarCode::ResetCounter() {
    value_ = startingNumber_;
    repeat_ = 0;
}

void TGIMBarCode::PrintTo(TBaseReport& report, double x, double y) {
    const imb::Encoding e = CurrentEncoding();
    if (!e.ok()) return;
    const double ppi = layout::kPixelsPerInch;
    const double x0 = x + Left() / ppi + imb::kSideClearZone;
    const double y0 = y + Top() / ppi + imb::kTopClearZone;
    report.setBrush(Qt::black, Qt::SolidPattern);
    // No outline: a pen would widen every bar by a printer dot.
    report.setPen(Qt::black, Qt::NoPen, 0, PenSpec::Mode::Copy);
    for (int i = 0; i < e.states.size(); ++i) {
        const QChar s = e.states[i];
        const double left = x0 + i * imb::kBarPitch, top = y0 + imb::BarTop(s);
        report.rectangle(left, top, left + imb::kBarWidth, top + imb::BarHeight(s));
    }
}

void TGIMBarCode::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.string("BarcodeIdentifier", BarcodeIdentifier);
    w.string("ServiceType", ServiceType);
    w.string("MailerIdentifier", MailerIdentifier);
    w.enumeration("SerialSource", SerialSource);
    w.string("SerialNumber", SerialNumber);
    w.string("SerialField", SerialField);
    w.integer("Startingnumber", startingNumber_);
    w.integer("RepeatEach", RepeatEach);
    w.string("ZipCodeField", ZipCodeField);
    w.string("AddressField", AddressField);
    w.enumeration("RoutingType", RoutingType);
}

ReadResult TGIMBarCode::ReadProperty(const PropertyReader& r) {
    if (r.is("BarcodeIdentifier")) return r.string(&BarcodeIdentifier);
    if (r.is("ServiceType")) return r.string(&ServiceType);
    if (r.is("MailerIdentifier")) return r.string(&MailerIdentifier);
    if (r.is("SerialSource")) return r.enumeration(&SerialSource);
    if (r.is("SerialNumber")) return r.string(&SerialNumber);
    if (r.is("SerialField")) return r.string(&SerialField);
    if (r.is("Startingnumber")) {
        const ReadResult result = r.integer(&startingNumber_);
        value_ = startingNumber_;
        repeat_ = 0;
        return result;
    }
    if (r.is("RepeatEach")) return r.integer(&RepeatEach);
    if (r.is("ZipCodeField")) return r.string(&ZipCodeField);
    if (r.is("AddressField")) return r.string(&AddressField);
    if (r.is("RoutingType")) return r.enumeration(&RoutingType);
    return TGGraphicControl::ReadProperty(r);
}
