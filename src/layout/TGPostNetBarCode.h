#pragma once

#include <QImage>

#include "TGGraphicControl.h"

// The POSTNET barcode of the record's ZIP code (and, for the 11-digit type, of the
// delivery point taken from the street address). On screen it shows a fixed picture
// of a barcode and keeps the picture's size.
class TGPostNetBarCode : public TGGraphicControl {
  public:
    TGPostNetBarCode();
    const char* ClassName() const override { return "TGPostNetBarCode"; }

    QString ZipCodeField;
    QString AddressField;
    TPostNetBarCodeType BarCodeType = pnbc11Digit;

    // The record's values, as RefreshData found them.
    const QString& ZipText() const { return zip_; }
    const QString& AddressText() const { return address_; }
    void SetRecordTexts(const QString& zip, const QString& address);

    // The digits printed, with the check digit; empty when nothing prints.
    QString PrintedDigits() const;

    // The 270 × 16 picture shown on screen.
    static const QImage& ScreenPicture();

    void Paint(QPainter& painter) override;
    void RefreshData() override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  private:
    QString zip_;
    QString address_;
};
