#include "TGDMultiLineLabel.h"

#include "TGDataPanel.h"
#include "TGDataSet.h"
#include "TextWrap.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

void TGDMultiLineLabel::RefreshData() {
    const TGDataPanel* panel = DataPanel();
    const TGDataSet* data = panel ? panel->DataSet() : nullptr;
    const int field = data && data->Active() && !DataFieldDescript.isEmpty()
                          ? data->FindFieldByLabel(DataFieldDescript)
                          : -1;
    QStringList items;
    QStringList wrapped;
    if (field >= 0) {
        if (ShowsDataValues()) {
            if (!data->MemoEmpty(field)) {
                items = BreakIntoLines(layout::SplitLines(data->MemoText(field)));
                if (WordWrap()) wrapped = items;
            }
        } else {
            items << "[" + DataFieldDescript + "]";
        }
    } else if (!Printing()) {
        items << "<undefined memo>";
    }
    AssignItems(items);
    AssignWrapped(wrapped.isEmpty() && WordWrap() ? BreakIntoLines(items) : wrapped);
}

void TGDMultiLineLabel::Rewrap() {
    const TGDataPanel* panel = DataPanel();
    if (panel && panel->DataSet() && panel->DataSet()->Active()) {
        RefreshData();
    } else {
        TGMultiLineBaseLabel::Rewrap();
    }
}

void TGDMultiLineLabel::PrepareForSave() {
    AssignItems(QStringList());
    AssignWrapped(QStringList());
}

void TGDMultiLineLabel::WriteProperties(PropertyWriter& w) const {
    TGMultiLineBaseLabel::WriteProperties(w);
    w.string("DataFieldName", DataFieldName);
    w.string("DataFieldDescript", DataFieldDescript);
}

ReadResult TGDMultiLineLabel::ReadProperty(const PropertyReader& r) {
    if (r.is("DataFieldName")) return r.string(&DataFieldName);
    if (r.is("DataFieldDescript")) return r.string(&DataFieldDescript);
    return TGMultiLineBaseLabel::ReadProperty(r);
}
