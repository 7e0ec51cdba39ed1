#include "Preferences.h"

#include <vector>

#include "SettingKeys.h"
#include "Settings.h"
#include "TagId.h"

namespace {

struct BoolPreference {
    const BoolKey* key;
    bool Preferences::*member;
};

// The "Adding" switches and where they are kept.
const std::vector<BoolPreference>& addingSwitches() {
    using P = Preferences;
    static const std::vector<BoolPreference> switches = {
        {&setting::kPlugDate, &P::plugDate},
        {&setting::kPlugCityState, &P::plugCityState},
        {&setting::kAutoDupCheck, &P::autoDupCheck},
        {&setting::kCarryOrg, &P::carryOrg},
        {&setting::kCarrySA1, &P::carryStreet},
        {&setting::kCarrySA2, &P::carryStreet2},
        {&setting::kCarryCity, &P::carryCity},
        {&setting::kCarryState, &P::carryState},
        {&setting::kCarryZip, &P::carryZip},
        {&setting::kCarryCountry, &P::carryCountry},
        {&setting::kSkipOrganization, &P::skipOrganization},
        {&setting::kSkipPhone1, &P::skipPhone1},
        {&setting::kSkipEmail, &P::skipEmail},
        {&setting::kSkipState, &P::skipState},
        {&setting::kSkipZip, &P::skipZip},
        {&setting::kSkipCountry, &P::skipCountry},
        {&setting::kSkipAddress2, &P::skipAddress2},
        {&setting::kSkipLastName, &P::skipLastName},
        {&setting::kSkipMiddleInitial, &P::skipMiddleInitial},
        {&setting::kSkipFirstName, &P::skipFirstName},
        {&setting::kSkipTitle, &P::skipTitle},
        {&setting::kSkipPhone2, &P::skipPhone2},
        {&setting::kSkipFax, &P::skipFax},
        {&setting::kSkipCodes, &P::skipCodes},
        {&setting::kSkipPrefix, &P::skipPrefix},
        {&setting::kSkipComments1, &P::skipComments1},
        {&setting::kSkipDate, &P::skipDate},
        {&setting::kSkipComments2, &P::skipComments2},
    };
    return switches;
}

}  // namespace

Preferences Preferences::read(const Settings& settings) {
    Preferences p;
    for (const BoolPreference& s : addingSwitches()) p.*s.member = settings.value(*s.key);
    p.defaultCountry = settings.value(setting::kDefaultCountry);
    p.hideGettingStarted = settings.value(setting::kGettingStarted);
    p.globalTagId = settings.value(setting::kGlobalTagId);
    return p;
}

Preferences Preferences::LoadPreferences(Settings& settings) {
    Preferences p = read(settings);
    if (!TagId::isValid(p.globalTagId)) {
        p.globalTagId = TagId::NewTagId();
        // An unwritable settings file costs only the identifier's survival to the next
        // run; the records tagged in this run stay tagged for it.
        (void)settings.setValue(setting::kGlobalTagId, p.globalTagId);
    }
    return p;
}

bool Preferences::saveAdding(Settings& settings) const {
    std::vector<Settings::Entry> entries;
    for (const BoolPreference& s : addingSwitches()) entries.emplace_back(*s.key, this->*s.member);
    entries.emplace_back(setting::kDefaultCountry, defaultCountry);
    return settings.write(entries);
}

bool Preferences::operator==(const Preferences& other) const {
    for (const BoolPreference& s : addingSwitches()) {
        if (this->*s.member != other.*s.member) return false;
    }
    return defaultCountry == other.defaultCountry && hideGettingStarted == other.hideGettingStarted &&
           globalTagId == other.globalTagId;
}
