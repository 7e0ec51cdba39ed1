#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "LayoutEnums.h"

namespace layout {

// Which parts of an address block to show, and where the ZIP code goes.
struct AddressOptions {
    bool useName = true;
    bool useTitle = true;
    bool useCompany = true;
    bool useStreet = true;
    bool useStreet2 = true;
    bool useCityState = true;
    bool useZip = true;
    bool usePhone = false;
    bool useCountry = true;
    TZipFormatOptions zipOptions = zoAfterState;
    bool upperCase = false;
};

// The lines of an address block. `field` gives a field's text by name ("LNAME") or
// nothing when the field does not exist; a missing field ends the composition
// silently, keeping the lines composed so far. Empty lines are left out.
QStringList ComposeAddress(const AddressOptions& options,
                           const std::function<std::optional<QString>(const char* name)>& field);

// The most lines ComposeAddress can give with `options`: one for each switched-on
// part, the ZIP code counted on the line it joins or, alone, on its own.
int MostAddressLines(const AddressOptions& options);

}  // namespace layout
