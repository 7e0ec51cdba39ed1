#pragma once

#include <QString>

#include "TDialer.h"

class Settings;

// The dialer's settings as QUILLO.ini keeps them (section "Dialing"): the dial
// prefix, the modem initialisation string, the port (0 to 3 for COM 1 to COM 4) and
// the method (0 tone, 1 pulse).
struct DialingSettings {
    QString prefix;
    QString init;
    TDialer::TComPort port = TDialer::dpCOM1;
    TDialer::TMethod method = TDialer::dmTone;

    static DialingSettings Load(const Settings& settings);
    // False with `error` set when the file cannot be written.
    bool Save(Settings& settings, QString* error) const;

    // A dialer for `number` with these settings: NumberToDial is the prefix followed
    // by the number, without a separator.
    TDialer dialer(const QString& number) const;
};
