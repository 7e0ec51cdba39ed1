#include "TGDMultiLineAddressLabel.h"

#include <algorithm>

#include "TGDataPanel.h"
#include "TGDataSet.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

void TGDMultiLineAddressLabel::RefreshData() {
    QStringList items;
    if (ShowsDataValues()) {
        const TGDataPanel* panel = DataPanel();
        const TGDataSet* data = panel ? panel->DataSet() : nullptr;
        if (data && data->Active()) {
            items = layout::ComposeAddress(Options, [data](const char* name) -> std::optional<QString> {
                const int field = data->FindField(name);
                if (field < 0) return std::nullopt;
                return data->Text(field);
            });
        }
    } else {
        items << "[Address Label]";
    }
    AssignItems(items);
    AssignWrapped(WordWrap() ? BreakIntoLines(items) : QStringList());
}

int TGDMultiLineAddressLabel::FitLineCount() const {
    return std::max(TGMultiLineBaseLabel::FitLineCount(), layout::MostAddressLines(Options));
}

void TGDMultiLineAddressLabel::PrepareForSave() {
    AssignItems(QStringList());
    AssignWrapped(QStringList());
}

void TGDMultiLineAddressLabel::WriteProperties(PropertyWriter& w) const {
    TGMultiLineBaseLabel::WriteProperties(w);
    w.boolean("UseName", Options.useName);
    w.boolean("UseTitle", Options.useTitle);
    w.boolean("UseCompany", Options.useCompany);
    w.boolean("UseStreet", Options.useStreet);
    w.boolean("UseStreet2", Options.useStreet2);
    w.boolean("UseCityState", Options.useCityState);
    w.boolean("UseZip", Options.useZip);
    w.boolean("UsePhone", Options.usePhone);
    w.boolean("UseCountry", Options.useCountry);
    w.enumeration("ZipOptions", Options.zipOptions);
    w.boolean("UpperCase", Options.upperCase);
}

ReadResult TGDMultiLineAddressLabel::ReadProperty(const PropertyReader& r) {
    if (r.is("UseName")) return r.boolean(&Options.useName);
    if (r.is("UseTitle")) return r.boolean(&Options.useTitle);
    if (r.is("UseCompany")) return r.boolean(&Options.useCompany);
    if (r.is("UseStreet")) return r.boolean(&Options.useStreet);
    if (r.is("UseStreet2")) return r.boolean(&Options.useStreet2);
    if (r.is("UseCityState")) return r.boolean(&Options.useCityState);
    if (r.is("UseZip")) return r.boolean(&Options.useZip);
    if (r.is("UsePhone")) return r.boolean(&Options.usePhone);
    if (r.is("UseCountry")) return r.boolean(&Options.useCountry);
    if (r.is("ZipOptions")) return r.enumeration(&Options.zipOptions);
    if (r.is("UpperCase")) return r.boolean(&Options.upperCase);
    return TGMultiLineBaseLabel::ReadProperty(r);
}
