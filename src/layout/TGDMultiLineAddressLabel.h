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
    // Room for every line the switched-on parts can give, not only the current
    // record's: a block fitted to a four-line record would cut the city line of a
    // record that also has a title and an organisation.
    int FitLineCount() const override;
    void PrepareForSave() override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;
};
