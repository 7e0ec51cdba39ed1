#pragma once

#include "TGGraphicControl.h"

// A facing identification mark of type A, B or C near the top edge of an envelope.
class TGFIMBarCode : public TGGraphicControl {
  public:
    TGFIMBarCode();
    const char* ClassName() const override { return "TGFIMBarCode"; }

    TFIMBarCodeType FIMType() const { return type_; }
    void SetFIMType(TFIMBarCodeType type);

    void Paint(QPainter& painter) override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  private:
    TFIMBarCodeType type_ = fimTypeA;
};
