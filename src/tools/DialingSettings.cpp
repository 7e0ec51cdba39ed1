#include "DialingSettings.h"

#include "SettingKeys.h"
#include "Settings.h"

DialingSettings DialingSettings::Load(const Settings& settings) {
    DialingSettings d;
    d.prefix = settings.value(setting::kDialPrefix);
    d.init = settings.value(setting::kDialInit);
    d.port = TDialer::PortFromSetting(settings.value(setting::kDialPort));
    d.method = settings.value(setting::kDialMethod) == 1 ? TDialer::dmPulse : TDialer::dmTone;
    return d;
}

bool DialingSettings::Save(Settings& settings, QString* error) const {
    return settings.write({{setting::kDialPrefix, prefix},
                           {setting::kDialInit, init},
                           {setting::kDialPort, int(port)},
                           {setting::kDialMethod, method == TDialer::dmPulse ? 1 : 0}},
                          error);
}

TDialer DialingSettings::dialer(const QString& number) const {
    TDialer d;
    d.ComPort = port;
    d.Method = method;
    d.InitStr = init;
    d.NumberToDial = prefix + number;
    return d;
}
