#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "PageStream.h"
#include "TGDataSet.h"
#include "TReportFiler.h"

// A record of named text fields; the display label of a field is given or its name.
class FakeDataSet : public TGDataSet {
  public:
    struct Field {
        QString name, label, value;
        bool memo = false;
    };
    std::vector<Field> fields;
    bool active = true;

    FakeDataSet& add(const QString& name, const QString& value, const QString& label = QString(),
                     bool memo = false) {
        fields.push_back({name, label.isEmpty() ? name : label, value, memo});
        return *this;
    }
    void set(const QString& name, const QString& value) {
        for (Field& f : fields)
            if (f.name == name) f.value = value;
    }

    bool Active() const override { return active; }
    int FieldCount() const override { return int(fields.size()); }
    QString FieldName(int i) const override { return fields[size_t(i)].name; }
    QString DisplayLabel(int i) const override { return fields[size_t(i)].label; }
    bool IsMemo(int i) const override { return fields[size_t(i)].memo; }
    QString Text(int i) const override { return fields[size_t(i)].value; }
    bool MemoEmpty(int i) const override { return fields[size_t(i)].value.isEmpty(); }
    QString MemoText(int i) const override { return fields[size_t(i)].value; }
};

// Runs `draw` as a job into a page stream laid out for a 600-dpi Letter sheet without
// unprintable border, and returns its last page.
inline Page printPage(const std::function<void(TBaseReport&)>& draw) {
    PageStream stream;
    TReportFiler filer;
    filer.setStream(&stream);
    DeviceMetrics m;
    m.dpiX = m.dpiY = 600;
    filer.setDeviceMetrics(m);
    filer.OnPrint = draw;
    if (!filer.execute() || stream.pages.empty()) return Page();
    return stream.pages.back();
}

inline QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) out.append(char(v));
    return out;
}

// A record with every address field, all empty.
inline FakeDataSet addressRecord() {
    FakeDataSet data;
    for (const char* name : {"LNAME", "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG", "STREET", "STREET2",
                             "CITY", "STATE", "ZIP", "COUNTRY", "PHONE"})
        data.add(name, QString());
    data.fields[8].label = "City";
    return data;
}
