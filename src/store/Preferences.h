#pragma once

#include <QString>

class Settings;

// The preferences the main window keeps for the whole run: the aids for adding
// records (section "Adding"), whether the Getting Started screen is shown, and the
// current tag identifier.
struct Preferences {
    bool plugDate = false;       // a new record's DATE is today
    bool plugCityState = false;  // ask for the ZIP first and fill in city and state
    bool autoDupCheck = false;   // ask for the names first and warn on a duplicate
    QString defaultCountry;      // COUNTRY of a new record when none is carried forward

    // Fields carried forward from the current record into a new one.
    bool carryOrg = false;
    bool carryStreet = false;
    bool carryStreet2 = false;
    bool carryCity = false;
    bool carryState = false;
    bool carryZip = false;
    bool carryCountry = false;

    // Edits left out of the tab order while a record is added.
    bool skipOrganization = false;
    bool skipPhone1 = false;
    bool skipEmail = false;
    bool skipState = false;
    bool skipZip = false;
    bool skipCountry = false;
    bool skipAddress2 = false;
    bool skipLastName = false;
    bool skipMiddleInitial = false;
    bool skipFirstName = false;
    bool skipTitle = false;
    bool skipPhone2 = false;
    bool skipFax = false;
    bool skipCodes = false;
    bool skipPrefix = false;
    bool skipComments1 = false;
    bool skipDate = false;
    bool skipComments2 = false;

    bool hideGettingStarted = false;  // "Do not show this screen at start up"
    QString globalTagId;

    // The stored values as they are, for the Preferences dialog. `globalTagId` is the
    // stored text, possibly empty.
    static Preferences read(const Settings& settings);

    // The preferences for the main window. An identifier that is missing or not valid
    // (TagId::isValid) is replaced by a fresh TagId::NewTagId(), which is written to
    // the settings so that the first run stores one.
    static Preferences LoadPreferences(Settings& settings);

    // Writes every "Adding" value: the Preferences dialog's Ok.
    [[nodiscard]] bool saveAdding(Settings& settings) const;

    bool operator==(const Preferences& other) const;
};
