#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace xbase {
class Table;
}

// A label definition: one record of LABEL.DBF (the user's name for the job, the stock
// it prints on, where that stock came from) plus the name of its layout file in
// sysdata. LBLTPL.DBF, the stock catalogue, has the same stock columns.
//
// Every length is in inches and is stored rounded to 3 decimals.
struct LabelStock {
    double height = 1.0;  // LBLHEIGHT
    double width = 2.625;  // LBLWIDTH
    int across = 3;        // NBRACROSS
    int down = 10;         // NBRDOWN
    double topMargin = 0.5;     // TOPMARG: sheet top to the first label's top
    double leftMargin = 0.188;  // LEFTMARG
    double horizPitch = 2.765;  // left edge to the next label's left edge
    double vertPitch = 1.01;
    double sheetWidth = 8.5;  // as the layout sees it: the long side for landscape stock
    double sheetDepth = 11.0;
    QString paperSize = "LTR";  // LTR, LTRL, A4, A4L, A5, USERP, USERL
    QString shape = "RR";       // RR rounded rectangle, SR rectangle, EL ellipse
    QString printer = "LJ";     // LJ laser, IJ inkjet, DM dot matrix, LP label printer
    QString tplDescrip = "Avery 5160  Address";  // empty: typed by hand
    QString manufac = "AVERY";
    QString prodType = "ADDRESS/SHIPPING LABELS";
    double midExtraX = 0;  // extra gap before the right half's columns
    double midExtraY = 0;  // and before the lower half's rows
    QString art;

    bool landscape() const;
};

struct LabelDefinition {
    QString description;
    LabelStock stock;
    QString binary;  // the layout file's name in sysdata, "BIN00001.L"
};

namespace LabelDefs {

inline const QString kNewLabel = QStringLiteral("<New Label>");
inline const QString kUserDefined = QStringLiteral("[User Defined]");
inline const QString kFileRemoved =
    QStringLiteral("Label definition file has been removed from the sysdata directory");

// The definition New starts from: the Avery 5160 address sheet, described "<New Label>".
LabelDefinition NewDefinition();
// What the print-labels screen shows while LABEL.DBF is empty.
LabelDefinition StandByDefinition();

// A length as stored: fixed-point with 3 decimals, read back.
double StoredLength(double inches);
double MillimetresToInches(double mm);  // × 0.039370078740157, not rounded
double InchesToMillimetres(double inches);

// The stock editor's checks, in order; the first failing one's message, or an empty
// string when the values are acceptable.
QString CheckStock(const LabelStock& stock);

// The sheet name lists show: the template's description, or "[User Defined]".
QString SheetName(const LabelStock& stock);

// The current record of LABEL.DBF (or the stock columns of LBLTPL.DBF, for which
// `description` is the template's DESCRIPT and the definition-only columns stay empty).
LabelDefinition ReadDefinition(const xbase::Table& table);
// Writes the definition into the current record of LABEL.DBF (not committed).
bool WriteDefinition(xbase::Table& table, const LabelDefinition& def, QString* error);

// The record of LABEL.DBF not marked deleted whose description is `description`
// (compared without case or trailing blanks); 0 when none. The cursor is left there.
uint32_t FindDefinition(xbase::Table& table, const QString& description);

// The first free layout file name in `sysDataDir`, BIN00001.L to BIN99999.L (a name is
// free when no file of that name exists, in any letter case); empty when all are taken.
QString NextLayoutFileName(const QString& sysDataDir);

// The template picker's query over LBLTPL.DBF for the entries chosen: the
// manufacturer/printer entry's text (empty when none is selected), the product type's
// list position (0 Address/Shipping Labels .. 6 All) and European paper only.
QString TemplateFilter(const QString& makerText, int productIndex, bool europeanOnly);

// The template picker's lists: maker and printer entries, product types (the last,
// "All", adds no condition).
const QStringList& MakerEntries();
const QStringList& ProductEntries();
// The entries preselected for a definition's stock: the maker/printer entry (-1 when the
// list has none, as for NEBS stock) and the product type ("All" when none matches).
// Hand-made stock ("USER") starts on Avery Laserjet with address labels.
int PreselectedMaker(const LabelStock& stock);
int PreselectedProduct(const LabelStock& stock);
// Whether a template's description holds every word of `search` (any order, any case);
// an empty search holds for all.
bool MatchesSearch(const QString& description, const QString& search);

// A template row taken over by a definition: its stock columns as they stand, its
// description as the definition's TPLDESCRIP.
void TakeTemplate(LabelStock* stock, const LabelDefinition& templateRow);
// Stock typed by hand taken over: the lengths, counts, paper and shape of `typed`; the
// definition becomes the user's own (maker "USER", no template, printer or product
// type, no extra middle gaps or art).
void TakeManualStock(LabelStock* stock, const LabelStock& typed);

// The stock editor's paper sizes: stored code, list entry and the sheet it sets (none
// for the two "Other" entries, which leave the sheet as typed).
struct PaperSize {
    const char* code;
    const char* entry;
    double widthInches, heightInches;  // 0: left as typed
    double widthMm, heightMm;
};
const std::vector<PaperSize>& PaperSizes();
// The stock editor's shapes: list entry and stored code.
struct Shape {
    const char* entry;
    const char* code;
};
const std::vector<Shape>& Shapes();

}  // namespace LabelDefs
