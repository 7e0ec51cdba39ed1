#include "TGPostNetBarCode.h"

#include <QPainter>
#include <cmath>

#include "LayoutMetrics.h"
#include "PostNet.h"
#include "TBaseReport.h"
#include "TGDataPanel.h"
#include "TGDataSet.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;
namespace postnet = layout::postnet;

TGPostNetBarCode::TGPostNetBarCode() {
    const QImage& picture = ScreenPicture();
    SetSizeSilently(picture.width(), picture.height());
}

const QImage& TGPostNetBarCode::ScreenPicture() {
    // The bars of a sample 11-digit code, 4 pixels apart, on white.
    static const QImage picture = [] {
        QImage image(270, 16, QImage::Format_Indexed8);
        image.setColorCount(16);
        image.setColor(0, qRgb(0, 0, 0));
        for (int i = 1; i < 16; ++i) image.setColor(i, qRgb(255, 255, 255));
        image.fill(1);
        const QString digits = "12345678900";
        const std::vector<bool> bars = postnet::Bars(digits + QString::number(postnet::CheckDigit(digits)));
        int x = 5;
        for (bool full : bars) {
            for (int y = full ? 2 : 8; y < 14; ++y)
                for (int dx = 0; dx < 2; ++dx) image.setPixel(x + dx, y, 0);
            x += 4;
        }
        return image;
    }();
    return picture;
}

void TGPostNetBarCode::SetRecordTexts(const QString& zip, const QString& address) {
    zip_ = zip;
    address_ = address;
}

QString TGPostNetBarCode::PrintedDigits() const {
    if (!postnet::IsPrintableZip(zip_)) return QString();
    const QString digits = postnet::Digits(zip_, address_, BarCodeType);
    return digits + QString::number(postnet::CheckDigit(digits));
}

void TGPostNetBarCode::Paint(QPainter& painter) {
    const QImage& picture = ScreenPicture();
    // Resizing springs back to the picture's size.
    int width = picture.width(), height = picture.height();
    if (Zoom() != 1.0f) {
        width = int(std::lround(width * Zoom()));
        height = int(std::lround(height * Zoom()));
    }
    if (width != Width() || height != Height()) SetSizeSilently(width, height);
    painter.drawImage(QRect(0, 0, Width(), Height()), picture);
    PaintHandles(painter);
}

void TGPostNetBarCode::RefreshData() {
    const TGDataPanel* panel = DataPanel();
    const TGDataSet* data = panel ? panel->DataSet() : nullptr;
    auto text = [data](const QString& name) {
        const int field = data ? data->FindField(name) : -1;
        return field < 0 ? QString() : data->Text(field);
    };
    address_ = text(AddressField);
    zip_ = text(ZipCodeField);
}

void TGPostNetBarCode::PrintTo(TBaseReport& report, double x, double y) {
    const QString digits = PrintedDigits();
    if (digits.isEmpty()) return;
    report.setBrush(Qt::black, Qt::SolidPattern);
    report.setPen(Qt::black, Qt::SolidLine, 1, PenSpec::Mode::Copy);
    const double ppi = layout::kPixelsPerInch;
    double bx = x + Left() / ppi;
    const double top = y + Top() / ppi;
    for (bool full : postnet::Bars(digits)) {
        report.rectangle(bx, full ? top : top + postnet::kHalfBarTop, bx + postnet::kBarWidth,
                         top + postnet::kFullBarHeight);
        bx += postnet::kBarPitch;
    }
}

void TGPostNetBarCode::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.string("ZipCodeField", ZipCodeField);
    w.string("AddressField", AddressField);
    w.enumeration("BarCodeType", BarCodeType);
}

ReadResult TGPostNetBarCode::ReadProperty(const PropertyReader& r) {
    if (r.is("ZipCodeField")) return r.string(&ZipCodeField);
    if (r.is("AddressField")) return r.string(&AddressField);
    if (r.is("BarCodeType")) return r.enumeration(&BarCodeType);
    return TGGraphicControl::ReadProperty(r);
}
