#include "LabelDefinition.h"

#include <cmath>

#include "AddressFile.h"
#include "SystemTables.h"
#include "Table.h"

bool LabelStock::landscape() const {
    const QString code = paperSize.trimmed().toUpper();
    return code == "LTRL" || code == "A4L" || code == "USERL";
}

namespace LabelDefs {

namespace {

// The numeric stock columns and the members they fill, in table order.
struct LengthColumn {
    const char* name;
    double LabelStock::*member;
};
const LengthColumn kLengths[] = {
    {"LBLHEIGHT", &LabelStock::height},        {"LBLWIDTH", &LabelStock::width},
    {"TOPMARG", &LabelStock::topMargin},       {"LEFTMARG", &LabelStock::leftMargin},
    {"HORIZPITCH", &LabelStock::horizPitch},   {"VERTPITCH", &LabelStock::vertPitch},
    {"SHEETWIDTH", &LabelStock::sheetWidth},   {"SHEETDEPTH", &LabelStock::sheetDepth},
    {"MIDEXTRAX", &LabelStock::midExtraX},     {"MIDEXTRAY", &LabelStock::midExtraY},
};
struct TextColumn {
    const char* name;
    QString LabelStock::*member;
};
const TextColumn kTexts[] = {
    {"PAPERSIZE", &LabelStock::paperSize}, {"LBLSHAPE", &LabelStock::shape},
    {"PRINTER", &LabelStock::printer},     {"TPLDESCRIP", &LabelStock::tplDescrip},
    {"MANUFAC", &LabelStock::manufac},     {"PRODTYPE", &LabelStock::prodType},
    {"ART", &LabelStock::art},
};

QString textOf(const xbase::Table& table, const char* name) {
    const int field = table.fieldIndex(name);
    return field < 0 ? QString() : AddressFile::text(table, field);
}

double numberOf(const xbase::Table& table, const char* name) {
    const int field = table.fieldIndex(name);
    return field < 0 ? 0.0 : QString::fromStdString(table.getTrimString(field)).toDouble();
}

bool put(xbase::Table& table, const char* name, const QString& value, QString* error) {
    const int field = table.fieldIndex(name);
    if (field < 0) return true;  // the template table has no such column
    const xbase::Status s = AddressFile::setText(table, field, value);
    if (!s.ok()) *error = QString::fromStdString(s.message());
    return s.ok();
}

}  // namespace

LabelDefinition NewDefinition() {
    LabelDefinition def;
    def.description = kNewLabel;
    return def;
}

LabelDefinition StandByDefinition() {
    LabelDefinition def;
    def.description = "Default Label Setup";
    def.stock.horizPitch = 2.75;
    def.stock.vertPitch = 1.0;
    def.stock.prodType = "ADDRESS LABELS";
    return def;
}

double StoredLength(double inches) { return QString::number(inches, 'f', 3).toDouble(); }
double MillimetresToInches(double mm) { return mm * 0.039370078740157; }
double InchesToMillimetres(double inches) { return inches * 25.4; }

QString CheckStock(const LabelStock& s) {
    if (s.height < 0.3) return "Label Height must be at least .3 inches (or 7mm)";
    if (s.width < 0.5) return "Label Width must be at least .5 inch (or 13mm)";
    if (s.across >= 2 && s.width > s.horizPitch) return "Horizontal Pitch must be at least = Label Width";
    if (s.down >= 2 && s.height > s.vertPitch) return "Vertical Pitch must be at least = Label Height";
    if (s.sheetWidth < 0.3) return "Page Width must be at least .3 inch";
    if (s.sheetDepth < 0.3) return "Page Height must be at least .3 inches";
    return QString();
}

QString SheetName(const LabelStock& stock) {
    return stock.tplDescrip.trimmed().isEmpty() ? kUserDefined : stock.tplDescrip;
}

LabelDefinition ReadDefinition(const xbase::Table& table) {
    LabelDefinition def;
    def.description = textOf(table, "DESCRIPT");
    def.binary = textOf(table, "BINARY").trimmed();
    for (const LengthColumn& c : kLengths) def.stock.*c.member = numberOf(table, c.name);
    for (const TextColumn& c : kTexts) def.stock.*c.member = textOf(table, c.name);
    def.stock.across = int(numberOf(table, "NBRACROSS"));
    def.stock.down = int(numberOf(table, "NBRDOWN"));
    return def;
}

bool WriteDefinition(xbase::Table& table, const LabelDefinition& def, QString* error) {
    if (!put(table, "DESCRIPT", def.description, error) || !put(table, "BINARY", def.binary, error))
        return false;
    for (const LengthColumn& c : kLengths) {
        if (!put(table, c.name, QString::number(StoredLength(def.stock.*c.member), 'f', 3), error)) return false;
    }
    for (const TextColumn& c : kTexts) {
        if (!put(table, c.name, def.stock.*c.member, error)) return false;
    }
    return put(table, "NBRACROSS", QString::number(def.stock.across), error) &&
           put(table, "NBRDOWN", QString::number(def.stock.down), error);
}

uint32_t FindDefinition(xbase::Table& table, const QString& description) {
    return SystemTables::FindDescription(table, description);
}

QString NextLayoutFileName(const QString& sysDataDir) { return SystemTables::NextBinaryName(sysDataDir, ".L"); }

QString TemplateFilter(const QString& makerText, int productIndex, bool europeanOnly) {
    QStringList parts;
    const QString maker = makerText.toUpper();
    for (const char* m : {"AVERY", "NEBS", "COSTAR"}) {
        if (maker.contains(m)) {
            parts << QString(" UPPER(manufac)=\"%1\" ").arg(m);
            break;
        }
    }
    static const std::pair<const char*, const char*> kPrinters[] = {
        {"LASERJET", "LJ"}, {"INKJET", "IJ"}, {"DOT MATRIX", "DM"}, {"LABELPRINTER", "LP"}};
    for (const auto& [text, code] : kPrinters) {
        if (maker.contains(text)) {
            parts << QString(" UPPER(printer)=\"%1\" ").arg(code);
            break;
        }
    }
    static const char* const kProducts[] = {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS",  "DISKETTE LABELS",
                                            "FILE FOLDER LABELS",      "INDEX PRODUCTS", "MISCELLANEOUS"};
    if (productIndex >= 0 && productIndex < 6) parts << QString(" UPPER(PRODTYPE)=\"%1\" ").arg(kProducts[productIndex]);
    if (europeanOnly) parts << " (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))";
    return parts.join(" and ");
}

const QStringList& MakerEntries() {
    static const QStringList entries{"Avery Laserjet", "Avery Inkjet", "Avery Dot Matrix", "Costar LabelPrinter"};
    return entries;
}

const QStringList& ProductEntries() {
    static const QStringList entries{"Address/Shipping Labels", "Card Products", "Diskette Labels",
                                     "File Folder Labels",      "Index Products", "Miscellaneous",
                                     "All"};
    return entries;
}

int PreselectedMaker(const LabelStock& stock) {
    const QString maker = stock.manufac.trimmed().toUpper();
    if (maker == "USER") return 0;
    const QString printer = stock.printer.trimmed().toUpper();
    QString wanted = "AVERY LASERJET";
    const QString printerName = printer == "LJ"   ? "LASERJET"
                                : printer == "IJ" ? "INKJET"
                                : printer == "DM" ? "DOT MATRIX"
                                                  : QString();
    if (maker == "COSTAR")
        wanted = "COSTAR LABELPRINTER";
    else if ((maker == "AVERY" || maker == "NEBS") && !printerName.isEmpty())
        wanted = maker + " " + printerName;
    for (int i = 0; i < MakerEntries().size(); ++i)
        if (MakerEntries()[i].compare(wanted, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int PreselectedProduct(const LabelStock& stock) {
    if (stock.manufac.trimmed().toUpper() == "USER") return 0;
    const QString type = stock.prodType.trimmed();
    for (int i = 0; i < ProductEntries().size(); ++i)
        if (ProductEntries()[i].compare(type, Qt::CaseInsensitive) == 0) return i;
    return int(ProductEntries().size()) - 1;
}

bool MatchesSearch(const QString& description, const QString& search) {
    for (const QString& word : search.split(' ', Qt::SkipEmptyParts))
        if (!description.contains(word, Qt::CaseInsensitive)) return false;
    return true;
}

void TakeTemplate(LabelStock* stock, const LabelDefinition& templateRow) {
    *stock = templateRow.stock;
    stock->tplDescrip = templateRow.description;
}

void TakeManualStock(LabelStock* stock, const LabelStock& typed) {
    *stock = typed;
    stock->manufac = "USER";
    stock->tplDescrip.clear();
    stock->printer.clear();
    stock->prodType.clear();
    stock->midExtraX = 0;
    stock->midExtraY = 0;
    stock->art.clear();
}

const std::vector<PaperSize>& PaperSizes() {
    static const std::vector<PaperSize> sizes{
        {"LTR", "Letter (8.5 x 11\")", 8.5, 11, 215.9, 279.4},
        {"LTRL", "Letter Landscape (11 x 8.5\")", 11, 8.5, 279.4, 215.9},
        {"A4", "A4 (210 x 297mm)", 8.27, 11.69, 210.058, 296.926},
        {"A4L", "A4 Landscape ( 297 x 210mm)", 11.69, 8.27, 296.926, 210.058},
        {"A5", "A5 (148 x 210mm)", 5.82, 8.27, 147.828, 210.058},
        {"USERP", "Other Portrait (User Defined)", 0, 0, 0, 0},
        {"USERL", "Other Landscape (User Defined)", 0, 0, 0, 0},
    };
    return sizes;
}

const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes{
        {"Rectangular with Rounded Edges", "RR"}, {"Rectangular", "SR"}, {"Round", "EL"}};
    return shapes;
}

}  // namespace LabelDefs
