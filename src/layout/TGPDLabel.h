#pragma once

#include "TGBaseLabel.h"

// One field of the current record. It binds by the field's display label
// (DataFieldDescript), not by its name.
class TGPDLabel : public TGBaseLabel {
  public:
    const char* ClassName() const override { return "TGPDLabel"; }

    QString DataFieldName;
    QString DataFieldDescript;
    int LengthOfText = 0;  // stored, no effect

    void RefreshData() override;
    // The record's value is never written to a layout file.
    void PrepareForSave() override { SetCaption(QString()); }

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;
};
