#pragma once

#include <QString>
#include <QStringList>

// The printers the program offers: the system's (CUPS) printers as Qt reports them,
// then the built-in "PDF File", which is always there.
namespace Printers {

inline const QString kPdfPrinter = "PDF File";

QStringList installed();
// The printer used when none is chosen: the system's default, else "PDF File".
// Empty when there is no printer at all.
QString defaultPrinter();

// For tests: hide every printer, "PDF File" included, or only the default one.
void hideAllForTests(bool hide);
void hideDefaultForTests(bool hide);

}  // namespace Printers

// False with the text to show when no printer can be used:
// "There are no installed printers.\r\nUnable to perform printer related operations", or,
// when printers exist but none can be had as the default even after asking again,
// "There is no default printer selected.\r\nUnable to perform printer related operations".
bool CheckPrinters(QString* message);
