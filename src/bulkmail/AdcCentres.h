#pragma once

#include <string>
#include <vector>

// The area distribution centres of the bulk-mail presort, in the order the presort
// tries them: each centre's name (the text of its group header) and the 3-digit ZIP
// prefixes it serves, separated by blanks. Every prefix belongs to one centre.
struct AdcCentre {
    const char* name;
    const char* prefixes;
};

const std::vector<AdcCentre>& AdcCentres();

// Whether `prefix` is one of the 3-digit codes of `centre`. Only a whole code matches:
// a malformed key whose first characters merely occur in the list, across a blank or
// inside a longer run, matches nothing.
bool AdcServes(const AdcCentre& centre, const std::string& prefix);
