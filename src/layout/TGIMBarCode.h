#pragma once

#include "IntelligentMail.h"
#include "TGGraphicControl.h"

// The Intelligent Mail barcode of the current record: a 20-digit tracking code made of
// the barcode identifier, service type, mailer identifier and a serial number (fixed,
// counted per label, or taken from a field), and a routing code made of the record's
// ZIP code (with the delivery point from the street address for 11 digits). It prints
// 65 bars with their clear zones from its top-left corner; on screen it draws the same
// bars at the panel's scale and, in red, why nothing would print or that it is too
// narrow.
class TGIMBarCode : public TGGraphicControl {
  public:
    TGIMBarCode();
    const char* ClassName() const override { return "TGIMBarCode"; }

    // Published. The texts are kept as typed; they are checked when the barcode is made.
    QString BarcodeIdentifier;
    QString ServiceType;
    QString MailerIdentifier;
    TIMBarCodeSerial SerialSource = imbsCounter;
    QString SerialNumber;  // the fixed serial number
    QString SerialField;   // the field holding it
    int Startingnumber() const { return startingNumber_; }
    // A different starting number resets the counter.
    void SetStartingnumber(int n);
    int RepeatEach = 1;
    QString ZipCodeField;
    QString AddressField;
    TIMBarCodeRouting RoutingType = imbr11Digit;

    // The record's values, as RefreshData found them.
    void SetRecordTexts(const QString& zip, const QString& address, const QString& serialField = QString());
    int CounterValue() const { return value_; }

    // The serial number the next label prints: the fixed value, the counter, or the
    // field's text.
    QString SerialText() const;
    // The tracking and routing codes of the current record; empty with `error` set when
    // one of them cannot be made.
    QString TrackingCode(QString* error) const;
    QString RoutingCode(QString* error) const;
    // The 65 state letters of the current record, or why nothing prints.
    layout::imb::Encoding CurrentEncoding() const;
    // What the designer shows in red: why nothing prints, or that the object is
    // narrower than the barcode with its clear zones; empty when all is well.
    QString DesignerWarning() const;

    void Paint(QPainter& painter) override;
    void RefreshData() override;
    void AdvanceCounter() override;
    void ResetCounter() override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void BeginReading() override;
    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  private:
    int startingNumber_ = 1;
    int value_ = 1;
    int repeat_ = 0;
    QString zip_;
    QString address_;
    QString serialField_;
};
