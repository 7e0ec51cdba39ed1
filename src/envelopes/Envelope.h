#pragma once

#include <QPointF>
#include <QString>
#include <cstdint>
#include <vector>

class Settings;
namespace xbase {
class Table;
}

// Envelopes: a definition is a record of ENVELOPE.DBF (description, size as a printer
// paper code, layout file "BIN00001.E" in sysdata); the feed setting says how the user
// puts envelopes into the printer, and from it where the design goes on the page.
namespace Envelope {

// The envelope sizes: printer paper code, list entry, and the program's own size in
// inches (metric sizes at 0.04 in a millimetre).
struct Size {
    int code;
    const char* entry;
    double width, height;
};
const std::vector<Size>& Sizes();
// The size of a code; width and height -1 for a code not in the table.
Size SizeOf(int code);

struct Definition {
    QString description = QStringLiteral("Envelope #10");
    int code = 20;
    QString binary;  // the layout file's name in sysdata
};

inline const QString kNewEnvelope = QStringLiteral("<New envelope>");
inline const QString kFileRemoved =
    QStringLiteral("Envelope definition file has been removed from the sysdata directory");

Definition ReadDefinition(const xbase::Table& table);
// Writes the definition into the current record (not committed).
bool WriteDefinition(xbase::Table& table, const Definition& def, QString* error);
// The record not marked deleted whose description is `description` (compared without
// case or trailing blanks), the cursor left there; 0 when none.
uint32_t FindDefinition(xbase::Table& table, const QString& description);

// How envelopes go into the printer: the "Envelope Feed" settings.
struct Feed {
    enum Position { Left = 0, Right = 1, Center = 2 };
    int orientation = 1;  // 0 portrait, 1 landscape
    bool faceDown = true;
    Position position = Center;
    bool clockwise = false;  // a landscape envelope turned clockwise

    static Feed Load(const Settings& settings);
    [[nodiscard]] bool Save(Settings& settings, QString* error) const;
    // "Position: Center\r\nOrientation : Landscape\r\nFacing Down", as the pre-print
    // dialog shows it.
    QString Description() const;
};

// A printer's correction of the placement, inches, as stored for it ((0, 0) when none
// is stored or it is not two numbers within an inch).
QPointF LoadCalibration(const Settings& settings, const QString& printer);
[[nodiscard]] bool SaveCalibration(Settings& settings, const QString& printer, QPointF offset, QString* error);
// "X,Y" in inches, each within an inch either way; false when it is not that.
bool ParseCalibration(const QString& text, QPointF* offset);

// Where the envelope's top-left corner goes on a page of `pageWidth` × `pageHeight`
// inches for an envelope of `width` × `height`: at (0, 0) when the page is the envelope
// (to a tenth of an inch), else by the feed; never negative.
QPointF Placement(const Feed& feed, double pageWidth, double pageHeight, double width, double height);

// Whether the pre-print dialog warns that the page is not the envelope: a side differs
// by more than an inch, each cut to whole hundredths first.
bool PaperDiffers(double pageWidth, double pageHeight, double width, double height);
inline const QString kPaperWarning = QStringLiteral(
    "WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope.\r\nUse Printer Setup to correct "
    "this.");

}  // namespace Envelope
