#include "TGPDLabel.h"

#include "TGDataPanel.h"
#include "TGDataSet.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

void TGPDLabel::RefreshData() {
    const TGDataPanel* panel = DataPanel();
    const TGDataSet* data = panel ? panel->DataSet() : nullptr;
    const int field = data && !DataFieldDescript.isEmpty() ? data->FindFieldByLabel(DataFieldDescript) : -1;
    QString caption = Caption();
    if (field < 0) {
        if (!Printing()) caption = "<undefined field>";
    } else if (ShowsDataValues()) {
        caption = data->Text(field);
        if (caption.trimmed().isEmpty() && !Printing()) caption = "<blank field>";
    } else {
        caption = "[" + DataFieldDescript + "]";
    }
    while (caption.endsWith(' ')) caption.chop(1);
    SetCaption(caption);
    MarkForMeasuring();
}

void TGPDLabel::WriteProperties(PropertyWriter& w) const {
    TGBaseLabel::WriteProperties(w);
    w.string("DataFieldName", DataFieldName);
    w.string("DataFieldDescript", DataFieldDescript);
    w.integer("LengthOfText", LengthOfText);
}

ReadResult TGPDLabel::ReadProperty(const PropertyReader& r) {
    if (r.is("DataFieldName")) return r.string(&DataFieldName);
    if (r.is("DataFieldDescript")) return r.string(&DataFieldDescript);
    if (r.is("LengthOfText")) return r.integer(&LengthOfText);
    return TGBaseLabel::ReadProperty(r);
}
