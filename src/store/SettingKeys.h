#pragma once

#include <array>

#include "SettingKey.h"

// Every section and key of QUILLO.ini, with its type and default. No other place in
// the program spells a section or key name; read and write them through Settings.
// A text that is empty in the file counts as missing and gives the default.
namespace setting {

// Aids for adding records, set in the Preferences dialog.
inline const BoolKey kPlugDate{"Adding", "PlugDate", false};            // today's date into DATE
inline const BoolKey kPlugCityState{"Adding", "PlugCityState", false};  // ask for the ZIP, fill city/state
inline const BoolKey kAutoDupCheck{"Adding", "AutoDupCheck", false};    // ask for names, warn on duplicates
inline const TextKey kDefaultCountry{"Adding", "DefaultCountry", {}};   // when no country is carried forward
// Carry the field from the current record into a new one.
inline const BoolKey kCarryOrg{"Adding", "CarryOrg", false};
inline const BoolKey kCarrySA1{"Adding", "CarrySA1", false};  // STREET
inline const BoolKey kCarrySA2{"Adding", "CarrySA2", false};  // STREET2
inline const BoolKey kCarryCity{"Adding", "CarryCity", false};
inline const BoolKey kCarryState{"Adding", "CarryState", false};
inline const BoolKey kCarryZip{"Adding", "CarryZip", false};
inline const BoolKey kCarryCountry{"Adding", "CarryCountry", false};
// Leave the field's edit out of the tab order while a record is added. The odd
// capitals are those of the files in use.
inline const BoolKey kSkipOrganization{"Adding", "SkipOrganization", false};
inline const BoolKey kSkipPhone1{"Adding", "SkipPhone1", false};
inline const BoolKey kSkipEmail{"Adding", "SkipEmail", false};
inline const BoolKey kSkipState{"Adding", "SkipState", false};
inline const BoolKey kSkipZip{"Adding", "SkipZip", false};
inline const BoolKey kSkipCountry{"Adding", "SkipCountry", false};
inline const BoolKey kSkipAddress2{"Adding", "SkipAddress2", false};
inline const BoolKey kSkipLastName{"Adding", "SkipLastName", false};
inline const BoolKey kSkipMiddleInitial{"Adding", "SkipMiddleInitial", false};
inline const BoolKey kSkipFirstName{"Adding", "SkipfirstName", false};
inline const BoolKey kSkipTitle{"Adding", "Skiptitle", false};
inline const BoolKey kSkipPhone2{"Adding", "SkipPhone2", false};
inline const BoolKey kSkipFax{"Adding", "SkipFax", false};
inline const BoolKey kSkipCodes{"Adding", "SkipCodes", false};
inline const BoolKey kSkipPrefix{"Adding", "SkipPrefix", false};
inline const BoolKey kSkipComments1{"Adding", "SkipComments1", false};
inline const BoolKey kSkipDate{"Adding", "SkipDate", false};
inline const BoolKey kSkipComments2{"Adding", "Skipcomments2", false};

// True: the Getting Started screen is not shown at start-up.
inline const BoolKey kGettingStarted{"Misc", "GettingStarted", false};
// The current tag identifier. Its real default is a fresh TagId::NewTagId(), made when
// Preferences::LoadPreferences finds none.
inline const TextKey kGlobalTagId{"Misc", "GlobalTagId", {}};

// The most recently used address files, newest first.
inline const std::array<TextKey, 4> kMruItems{{
    {"MRU", "Item1", {}},
    {"MRU", "Item2", {}},
    {"MRU", "Item3", {}},
    {"MRU", "Item4", {}},
}};

// Field widths for new address files, "Field" + field name. The defaults are also the
// values that replace a width out of range (FieldLengths).
inline const std::array<IntKey, 18> kNewFileFieldLengths{{
    {"NewFileFieldLengths", "FieldLNAME", 30},
    {"NewFileFieldLengths", "FieldFNAME", 30},
    {"NewFileFieldLengths", "FieldPREFIX", 12},
    {"NewFileFieldLengths", "FieldTITLE", 30},
    {"NewFileFieldLengths", "FieldORG", 30},
    {"NewFileFieldLengths", "FieldSTREET", 40},
    {"NewFileFieldLengths", "FieldSTREET2", 40},
    {"NewFileFieldLengths", "FieldCITY", 30},
    {"NewFileFieldLengths", "FieldSTATE", 20},
    {"NewFileFieldLengths", "FieldZIP", 10},
    {"NewFileFieldLengths", "FieldCOUNTRY", 30},
    {"NewFileFieldLengths", "FieldPHONE", 30},
    {"NewFileFieldLengths", "FieldPHONE2", 30},
    {"NewFileFieldLengths", "FieldFAX", 40},
    {"NewFileFieldLengths", "FieldEMAIL", 40},
    {"NewFileFieldLengths", "FieldCODES", 30},
    {"NewFileFieldLengths", "FieldUSER1", 40},
    {"NewFileFieldLengths", "FieldUSER2", 40},
}};

// The phone dialer.
inline const TextKey kDialPrefix{"Dialing", "Prefix", {}};
inline const TextKey kDialInit{"Dialing", "Init", {}};    // modem initialisation string
inline const IntKey kDialPort{"Dialing", "Port", 0};      // serial port index 0..3
inline const IntKey kDialMethod{"Dialing", "Method", 0};  // 0 tone, 1 pulse

// Default font of the letter editor.
inline const TextKey kLetterFontName{"Letter", "DefaultFontName", "Arial"};
inline const IntKey kLetterFontSize{"Letter", "DefaultFontSize", 10};
inline const BoolKey kLetterFontBold{"Letter", "DefaultFontBold", false};
inline const BoolKey kLetterFontItalic{"Letter", "DefaultFontItalic", false};

// Default font of the label designer.
inline const TextKey kLabelFontName{"Label", "DefaultFontName", "Arial"};
inline const IntKey kLabelFontSize{"Label", "DefaultFontSize", 10};
inline const BoolKey kLabelFontBold{"Label", "DefaultFontBold", false};
inline const BoolKey kLabelFontItalic{"Label", "DefaultFontItalic", false};

// How envelopes are fed to the printer.
inline const IntKey kEnvelopeOrientation{"Envelope Feed", "Orientation", 1};  // 0 portrait, 1 landscape
inline const IntKey kEnvelopeFacing{"Envelope Feed", "Facing", 1};            // 0 face up, 1 face down
inline const IntKey kEnvelopePosition{"Envelope Feed", "Position", 2};        // 0 left, 1 right, 2 centre
inline const BoolKey kEnvelopeClockWiseRotation{"Envelope Feed", "ClockWiseRotation", false};

// The printer chosen for envelopes. The real defaults are the current printer's name,
// bin, paper and orientation, which the caller passes to Settings::value.
inline const TextKey kEnvelopePrinter{"Envelope Printer", "Printer", {}};
// A printer's own correction of where envelopes land, "X,Y" in inches, one key a printer.
inline TextKey EnvelopeCalibration(const QString& printer) { return {"Envelope Calibration", printer, {}}; }
inline const TextKey kEnvelopeBin{"Envelope Printer", "Bin", {}};
inline const TextKey kEnvelopePaper{"Envelope Printer", "Paper", {}};
inline const IntKey kEnvelopePrinterOrientation{"Envelope Printer", "Orientation", 0};

// A window's normal-position rectangle, in the section WindowPlacement::sectionName
// gives; use them with .in(section). Right and Bottom are the edges just past the
// window. The real default of "Maximized" is whether the window is maximised now.
inline const IntKey kPlacementLeft{{}, "Left", 0};
inline const IntKey kPlacementTop{{}, "Top", 0};
inline const IntKey kPlacementRight{{}, "Right", 0};
inline const IntKey kPlacementBottom{{}, "Bottom", 0};
inline const BoolKey kPlacementMaximized{{}, "Maximized", false};

}  // namespace setting
