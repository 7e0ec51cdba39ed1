#include "FieldLengths.h"

#include <vector>

#include "SettingKeys.h"
#include "Settings.h"

namespace {

const std::array<IntKey, FieldLengths::kCount>& keys() { return setting::kNewFileFieldLengths; }

constexpr int kFaxButtonDefault = 30;

}  // namespace

FieldLengths::FieldLengths() {
    for (int i = 0; i < kCount; ++i) widths_[size_t(i)] = keys()[size_t(i)].defaultValue;
}

FieldLengths FieldLengths::buttonDefaults() {
    FieldLengths lengths;
    lengths.setWidth(indexOf("FAX"), kFaxButtonDefault);
    return lengths;
}

QString FieldLengths::fieldName(int index) {
    return keys().at(size_t(index)).name.mid(int(sizeof("Field")) - 1);
}

int FieldLengths::indexOf(const QString& field) {
    for (int i = 0; i < kCount; ++i) {
        if (fieldName(i) == field) return i;
    }
    return -1;
}

int FieldLengths::width(const QString& field) const {
    const int index = indexOf(field);
    return index < 0 ? 0 : width(index);
}

FieldLengths FieldLengths::LoadFieldLengths(const Settings& settings) {
    FieldLengths lengths;
    for (int i = 0; i < kCount; ++i) lengths.setWidth(i, settings.value(keys()[size_t(i)]));
    lengths.ClampFieldLengths();
    return lengths;
}

void FieldLengths::ClampFieldLengths() {
    for (int i = 0; i < kCount; ++i) {
        int& w = widths_[size_t(i)];
        if (w < kMinimum || w > kMaximum) w = keys()[size_t(i)].defaultValue;
    }
}

bool FieldLengths::SaveFieldLengths(Settings& settings) {
    ClampFieldLengths();
    std::vector<Settings::Entry> entries;
    for (int i = 0; i < kCount; ++i) entries.emplace_back(keys()[size_t(i)], width(i));
    return settings.write(entries);
}
