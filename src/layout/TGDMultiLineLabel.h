#pragma once

#include "TGMultiLineBaseLabel.h"

// The memo field of the current record, bound by its display label.
class TGDMultiLineLabel : public TGMultiLineBaseLabel {
  public:
    TGDMultiLineLabel() { SetMemoPlaceholder(true); }
    const char* ClassName() const override { return "TGDMultiLineLabel"; }

    QString DataFieldName;
    QString DataFieldDescript;

    void RefreshData() override;
    // Re-wrapping reads the memo again.
    void Rewrap() override;
    void PrepareForSave() override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;
};
