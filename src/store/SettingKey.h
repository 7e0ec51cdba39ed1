#pragma once

#include <QString>

// One key of QUILLO.ini: its section, its name and the value that a missing or
// unreadable entry gives. T is bool, int or QString. The keys themselves are declared
// in SettingKeys.h and read and written through Settings.
template <typename T>
struct SettingKey {
    QString section;
    QString name;
    T defaultValue;

    // The same key in another section. The window-placement keys are declared without
    // a section: each window keeps them in a section named after its class.
    SettingKey in(const QString& otherSection) const { return {otherSection, name, defaultValue}; }
};

using BoolKey = SettingKey<bool>;
using IntKey = SettingKey<int>;
using TextKey = SettingKey<QString>;
