#pragma once

#include "AddressBlock.h"
#include "TGMultiLineBaseLabel.h"

// The mailing address of the current record, composed line by line from its fields.
class TGDMultiLineAddressLabel : public TGMultiLineBaseLabel {
  public:
    const char* ClassName() const override { return "TGDMultiLineAddressLabel"; }

    // UseName ... UpperCase, with their initial values.
    layout::AddressOptions Options;

    void RefreshData() override;
    void PrepareForSave() override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;
};
