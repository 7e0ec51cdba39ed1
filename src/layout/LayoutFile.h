#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "LayoutStatus.h"
#include "TReportSettings.h"

class TBaseReport;
class TGDataPanel;
class TGDataSet;
class TGOwner;

namespace layout {

// What a layout file holds, by its name: "BIN00001.L" a label, ".E" an envelope, ".R"
// a report (in any letter case); any other name reads as a label.
enum class LayoutKind { Label, Envelope, Report };
LayoutKind LayoutKindOf(const QString& fileName);

// The bytes of a layout file; "File <name> not found" when there is none.
LayoutStatus ReadLayoutFile(const QString& fileName, QByteArray* data);

// A layout file read into invisible panels of its kind, as the print jobs, the proof
// print and the layout dump use it: one label (TGLabelPanel) or envelope
// (TEnvelopePanel), or the header, detail and footer bands of a report (TReportPanel,
// rpkHeader, rpkDetail, rpkFooter) with the report's settings. It owns the panels and
// through them the objects.
//
// Typical use by a print job:
//   LayoutFile layout(&owner);
//   status = layout.Load(fileName);
//   layout.BindForPrinting(&data);
//   ... for each record and position, in the job's OnPrint:
//   layout.PrintRecord(report, x, y);
class LayoutFile {
  public:
    // `owner` names the objects read ("Component0", ...) as a print window does; null
    // keeps the names the file stores. Borrowed: it must outlive this object.
    explicit LayoutFile(TGOwner* owner = nullptr);
    ~LayoutFile();
    LayoutFile(const LayoutFile&) = delete;
    LayoutFile& operator=(const LayoutFile&) = delete;

    // Reads the file into panels of the kind its name gives. Unlike a designer's
    // panel, for which a missing file is an empty layout, a missing file is an error
    // here ("File <name> not found"). A damaged file returns the read error; the
    // objects read before the damage stay.
    LayoutStatus Load(const QString& fileName);
    // The same from a file's bytes. What was read before is dropped first.
    LayoutStatus Read(const QByteArray& data, LayoutKind kind);
    // The layout's lists again, in the file's form; with `allProperties` every property
    // is written, defaults too (to show the objects, never for a layout file).
    QByteArray Write(bool allProperties = false) const;

    LayoutKind Kind() const { return kind_; }
    // The panels in file order: the label or envelope, or header, detail and footer.
    int PanelCount() const { return int(panels_.size()); }
    TGDataPanel& Panel(int index) const { return *panels_[size_t(index)]; }
    // A report's page and band settings; the defaults for a label or an envelope.
    const TReportSettings& Settings() const { return settings_; }

    // Binds the panels, now and after a later Read, to `data` (borrowed; it must
    // outlive the printing) and sets them printing: objects show the current record's
    // values, never placeholders.
    void BindForPrinting(TGDataSet* data);
    // Prints the layout for the data set's current record with its top-left corner at
    // (x, y) inches on the report's current page: every panel fetches the record's
    // values, then prints its objects; a report's bands stand one below the other
    // (header, detail, footer), each as high as the settings say. The counters then
    // advance, as after every printed label.
    // Everything of one record is clipped to the print area when there is one, as the
    // designer clips the objects at the edge of its label or envelope. Returns false when
    // an address block could not print all its lines whole (PrintedWhole()).
    // REQUIRES: `report` is running (called from its OnPrint or another handler).
    bool PrintRecord(TBaseReport& report, double x, double y);
    // The size in inches of one label or envelope, from its top-left corner; 0 by 0 (a
    // report's bands) clips nothing.
    void SetPrintArea(double width, double height) {
        areaWidth_ = width;
        areaHeight_ = height;
    }

  private:
    void BindPanels();

    TGOwner* owner_;
    LayoutKind kind_ = LayoutKind::Label;
    std::vector<std::unique_ptr<TGDataPanel>> panels_;
    TReportSettings settings_;
    TGDataSet* data_ = nullptr;
    bool printing_ = false;
    double areaWidth_ = 0;
    double areaHeight_ = 0;
};

// What a print job tells the user of the records whose address did not fit its block
// (record numbers, in the order printed, each once): "2 addresses did not fit their
// address blocks and were cut (records 3, 7)"; empty when there are none.
QString CutAddressNotice(const std::vector<uint32_t>& records);

}  // namespace layout
