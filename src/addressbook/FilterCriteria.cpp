#include "FilterCriteria.h"

QString FilterCriteria::fieldExpression(Entry entry) {
    static const char* const kFields[kEntryCount] = {
        "LNAME",   "FNAME", "TITLE",  "ORG", "STREET", "STREET2", "ZIP",   "CITY+STATE", "STATE",
        "COUNTRY", "PHONE", "PHONE2", "FAX", "EMAIL",  "DATE",    "CODES", "USER1",      "USER2",
    };
    return QString::fromLatin1(kFields[int(entry)]);
}
