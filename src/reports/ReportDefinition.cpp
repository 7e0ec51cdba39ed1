#include "ReportDefinition.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdlib>

#include "AddressFile.h"
#include "LayoutMetrics.h"
#include "SystemTables.h"
#include "TGBasePanel.h"
#include "TGLabelObjectFiler.h"
#include "Table.h"

namespace ReportDefinition {

Definition Read(const xbase::Table& reports) {
    Definition def;
    auto text = [&reports](const char* name) {
        const int f = reports.fieldIndex(name);
        return f < 0 ? QString() : AddressFile::text(reports, f).trimmed();
    };
    def.description = text("DESCRIPT");
    def.layout = text("LAYOUT");
    def.binary = text("BINARY");
    return def;
}

bool Write(xbase::Table& reports, const Definition& def, QString* error) {
    const std::pair<const char*, QString> values[] = {
        {"DESCRIPT", def.description}, {"LAYOUT", def.layout}, {"BINARY", def.binary}};
    for (const auto& [name, value] : values) {
        const int field = reports.fieldIndex(name);
        if (field < 0) continue;
        const xbase::Status s = AddressFile::setText(reports, field, value);
        if (!s.ok()) {
            *error = QString::fromStdString(s.message());
            return false;
        }
    }
    return true;
}

const std::vector<Paper>& Papers() {
    static const std::vector<Paper> papers = {
        {"Letter", false, 8.5, 11.0, "Letter Size, Portrait", 1},
        {"Letter", true, 11.0, 8.5, "Letter Size, Landscape", 1},
        {"A4", false, 8.27, 11.68, "A4 Size, Portrait", 9},
        {"A4", true, 11.68, 8.27, "A4 Size, Landscape", 9},
    };
    return papers;
}

namespace {
int pixels(double inches) { return int(inches * layout::kPixelsPerInch); }
}  // namespace

int PaperOf(const TReportSettings& s) {
    const std::vector<Paper>& papers = Papers();
    for (size_t i = 0; i < papers.size(); ++i)
        if (std::abs(s.PageWidth - pixels(papers[i].width)) <= 1 &&
            std::abs(s.PageHeight - pixels(papers[i].height)) <= 1)
            return int(i);
    return -1;
}

void SetPaper(TReportSettings& s, int index) {
    const Paper& p = Papers().at(size_t(index));
    s.PageWidth = pixels(p.width);
    s.PageHeight = pixels(p.height);
}

TReportBandFrame DefaultFrame() {
    TReportBandFrame f;
    f.LineWidth = 1;
    return f;
}

TReportSettings NewSettings() {
    TReportSettings s;  // the struct's own values are a new report's
    for (TReportBandFrame& f : s.Frames) f = DefaultFrame();
    return s;
}

bool Clamp(TReportSettings& s) {
    const TReportSettings before = s;
    const int inch = layout::kPixelsPerInch;
    if (s.PageWidth <= 0 || s.PageHeight <= 0) SetPaper(s, 0);
    s.PageWidth = std::clamp(s.PageWidth, inch, 100 * inch);
    s.PageHeight = std::clamp(s.PageHeight, inch, 100 * inch);
    s.MarginLeft = std::clamp(s.MarginLeft, 0, s.PageWidth / 3);
    s.MarginRight = std::clamp(s.MarginRight, 0, s.PageWidth / 3);
    s.MarginTop = std::clamp(s.MarginTop, 0, s.PageHeight / 3);
    s.MarginBottom = std::clamp(s.MarginBottom, 0, s.PageHeight / 3);
    const int room = s.PageHeight - s.MarginTop - s.MarginBottom;
    for (int* band : {&s.HeaderHeight, &s.DetailHeight, &s.FooterHeight}) *band = std::clamp(*band, 0, room);
    // Header and footer together leave at least a pixel for the rows between them.
    if (s.HeaderHeight + s.FooterHeight >= room) s.FooterHeight = std::max(0, room - s.HeaderHeight - 1);
    if (s.HeaderHeight + s.FooterHeight >= room) s.HeaderHeight = std::max(0, room - 1);
    for (TReportBandFrame& f : s.Frames) {
        f.LineWidth = std::clamp(f.LineWidth, 0, 3);
        f.ShadePercent = std::clamp(f.ShadePercent, 0, 100);
    }
    s.MemoFontSize = std::clamp(s.MemoFontSize, 1, 144);
    s.DefaultFontSize = std::clamp(s.DefaultFontSize, 1, 144);
    if (s.MemoAlignment < 0 || s.MemoAlignment > 2) s.MemoAlignment = 0;
    return !(s == before);
}

QString NextReportBinaryName(const QString& sysDataDir) {
    return SystemTables::NextBinaryName(sysDataDir, ".R");
}

LayoutStatus LoadReport(const QString& layoutFile, TGOwner* owner, TGBasePanel& header, TGBasePanel& detail,
                        TGBasePanel& footer, TReportSettings& settings) {
    for (TGBasePanel* band : {&header, &detail, &footer}) band->ClearObjects();
    if (layoutFile.isEmpty() || !QFile::exists(layoutFile)) return LayoutStatus::OK();
    TGLabelObjectFiler filer;
    return filer.LoadBands(owner, header, detail, footer, settings, layoutFile);
}

bool SaveReport(xbase::Table& reports, uint32_t recNo, Definition& def, const QString& sysDataDir,
                const TGBasePanel& header, const TGBasePanel& detail, const TGBasePanel& footer,
                const TReportSettings& settings, QString* error) {
    const bool newFile = def.binary.isEmpty();
    if (newFile) def.binary = NextReportBinaryName(sysDataDir);
    if (def.binary.isEmpty()) {
        *error = "Unable to write a layout file in " + sysDataDir;
        return false;
    }
    if (const int paper = PaperOf(settings); paper >= 0) def.layout = Papers()[size_t(paper)].layoutText;
    def.description = def.description.left(60);
    const QString path = QDir(sysDataDir).filePath(def.binary);
    TGLabelObjectFiler filer;
    if (const LayoutStatus s = filer.SaveBands(header, detail, footer, settings, path); !s.ok()) {
        *error = def.binary + ": " + s.message();
        return false;
    }
    const auto write = [&def](xbase::Table& t, QString* e) { return Write(t, def, e); };
    if (SystemTables::StoreDefinition(reports, recNo, write, path, error) != 0) return true;
    if (newFile) QFile::remove(path);  // a file named just now belongs to no record
    return false;
}

}  // namespace ReportDefinition
