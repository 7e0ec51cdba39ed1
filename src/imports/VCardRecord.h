#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "VCard.h"

namespace xbase {
class Table;
}

// How a contact of a vCard and an address record stand for each other.
//
// Out (ToContact): LNAME, FNAME, MIDDLE, PREFIX as N; FN put together from them (the
// organisation when there is no name); ORG; TITLE; one ADR of STREET and STREET2 (as
// the street's two lines), CITY, STATE, ZIP, COUNTRY; PHONE and PHONE2 as voice
// numbers, FAX as a fax number; EMAIL; the memo as NOTE; USER1, USER2, CODES and DATE,
// which vCards have no place for, as X-QUILLORY-USER1, ... so that the program reads
// them back.
//
// In (Fields): the reverse, with what a record has no field for kept in the memo after
// the note, one line each ("Phone (cell): ...", "E-mail: ...", "Address (home): ..."),
// so that nothing of a card is lost:
//  - the address: the one the user chooses by type (home, work, or the preferred one),
//    else the first; its street's first line into STREET, what follows (and the
//    extended address, the post office box) into STREET2;
//  - phones: the first fax into FAX, the others into PHONE and PHONE2 in card order;
//  - e-mail: the preferred address, else the first, into EMAIL;
//  - no N: FN split into first and last name at its last blank;
//  - MIDDLE holds an initial: the first letter of the additional names;
//  - BDAY into USER1 or USER2 when the user asks for it (and the card has no
//    X-QUILLORY value there), else left out.
namespace VCardRecord {

enum class AddressChoice { Preferred, Home, Work };

struct Choices {
    AddressChoice address = AddressChoice::Preferred;
    QString birthdayField;  // "USER1", "USER2", or empty: BDAY left out
};

// The record's fields by name, values as text; MEMO among them.
std::vector<std::pair<QString, QString>> Fields(const VCardContact& contact, const Choices& choices);

// The contact of the table's current record. False with the reason when its memo
// cannot be read.
bool ToContact(const xbase::Table& table, VCardContact* contact, QString* problem);

}  // namespace VCardRecord
