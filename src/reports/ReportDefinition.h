#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "LayoutStatus.h"
#include "TReportSettings.h"

class TGBasePanel;
class TGOwner;
namespace xbase {
class Table;
}

// A user-defined report: one record of REPORT.DBF (description, paper text, layout file
// name) and its layout file in sysdata ("BIN00001.R": the header, detail and footer
// bands' objects, then the page and band settings).
namespace ReportDefinition {

inline const QString kNewReport = QStringLiteral("<new report>");

struct Definition {
    QString description = kNewReport;
    QString layout = QStringLiteral("Letter Size, Portrait");  // the paper text of the settings
    QString binary;                                            // the layout file's name in sysdata
};

Definition Read(const xbase::Table& reports);
// Writes the definition into the current record (not committed).
bool Write(xbase::Table& reports, const Definition& def, QString* error);

// The four papers a report page can have.
struct Paper {
    const char* size;         // "Letter", "A4"
    bool landscape;
    double width, height;     // inches; A4 is 11.68 high
    const char* layoutText;   // "Letter Size, Portrait", ...
    int paperCode;            // the printer's paper number: 1 Letter, 9 A4
};
const std::vector<Paper>& Papers();
// The paper whose page, in layout pixels, the settings have; -1 when none. A length that
// went through the file's thousandths of an inch may come back a pixel short (A4 793 →
// 792), so a pixel either way still matches.
int PaperOf(const TReportSettings& settings);
// Sets the page size to paper `index`'s, in layout pixels (truncated).
void SetPaper(TReportSettings& settings, int index);

// The page and band settings of a new report: Letter portrait, half-inch margins, bands
// 33 pixels high, header and detail on, Arial 10 for the memo and new objects, and the
// bands without borders or shading.
TReportSettings NewSettings();
// The frame "Defaults" gives a band: no borders, line width 1, no shading, white.
TReportBandFrame DefaultFrame();

// Settings that cannot be laid out are made usable: a page of at least an inch each way
// (Letter when the page is not positive), margins between 0 and a third of the page,
// band heights between 0 and the room inside the margins. Returns whether anything
// changed.
bool Clamp(TReportSettings& settings);

// The first free "BIN00001.R" ... "BIN99999.R" in `sysDataDir`; empty when all are taken.
QString NextReportBinaryName(const QString& sysDataDir);

// Reads the layout file into the three bands and the settings. The bands are emptied
// first. A missing file leaves them empty and `settings` unchanged and is no error; a
// damaged file returns the read error, keeping what was read before the damage.
LayoutStatus LoadReport(const QString& layoutFile, TGOwner* owner, TGBasePanel& header, TGBasePanel& detail,
                        TGBasePanel& footer, TReportSettings& settings);

// Stores a report: writes the layout file from the bands and settings, then the record
// (`recNo` 0 appends one). A definition without a file name gets the next free one. On
// failure `error` tells why and nothing of a new report is left behind. `def.layout` is
// set to the paper text of the settings when they match a paper.
bool SaveReport(xbase::Table& reports, uint32_t recNo, Definition& def, const QString& sysDataDir,
                const TGBasePanel& header, const TGBasePanel& detail, const TGBasePanel& footer,
                const TReportSettings& settings, QString* error);

}  // namespace ReportDefinition
