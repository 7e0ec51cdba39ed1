#include "LayoutFile.h"

#include <QFileInfo>

#include "LayoutMetrics.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"
#include "TEnvelopePanel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelPanel.h"
#include "TReportPanel.h"

namespace layout {

LayoutKind LayoutKindOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    if (suffix == "R") return LayoutKind::Report;
    if (suffix == "E") return LayoutKind::Envelope;
    return LayoutKind::Label;
}

LayoutStatus ReadLayoutFile(const QString& fileName, QByteArray* data) {
    bool exists = false;
    const LayoutStatus s = TGLabelObjectFiler::ReadFile(fileName, data, &exists);
    if (s.ok() && !exists) return LayoutStatus::Error("File " + fileName + " not found");
    return s;
}

LayoutFile::LayoutFile(TGOwner* owner) : owner_(owner) {}

LayoutFile::~LayoutFile() = default;

LayoutStatus LayoutFile::Load(const QString& fileName) {
    QByteArray data;
    const LayoutStatus s = ReadLayoutFile(fileName, &data);
    if (!s.ok()) return s;
    return Read(data, LayoutKindOf(fileName));
}

LayoutStatus LayoutFile::Read(const QByteArray& data, LayoutKind kind) {
    kind_ = kind;
    settings_ = TReportSettings();
    panels_.clear();
    switch (kind) {
        case LayoutKind::Label:
            panels_.push_back(std::make_unique<TGLabelPanel>(owner_));
            break;
        case LayoutKind::Envelope:
            panels_.push_back(std::make_unique<TEnvelopePanel>(owner_));
            break;
        case LayoutKind::Report:
            for (TRPanelKind band : {rpkHeader, rpkDetail, rpkFooter}) {
                auto panel = std::make_unique<TReportPanel>(owner_);
                panel->PAnelKind = band;
                panels_.push_back(std::move(panel));
            }
            break;
    }
    BindPanels();
    std::vector<TGBasePanel*> panels;
    for (const auto& p : panels_) panels.push_back(p.get());
    LayoutStreamReader r(data);
    return TGLabelObjectFiler::ReadLayout(r, owner_, panels,
                                          kind == LayoutKind::Report ? &settings_ : nullptr);
}

QByteArray LayoutFile::Write(bool allProperties) const {
    std::vector<const TGBasePanel*> panels;
    for (const auto& p : panels_) panels.push_back(p.get());
    LayoutStreamWriter w;
    TGLabelObjectFiler::WriteLayout(w, panels, kind_ == LayoutKind::Report ? &settings_ : nullptr,
                                    allProperties);
    return w.data();
}

void LayoutFile::BindForPrinting(TGDataSet* data) {
    data_ = data;
    printing_ = true;
    BindPanels();
}

void LayoutFile::BindPanels() {
    for (const auto& p : panels_) {
        p->SetDataSet(data_);
        p->Printing = printing_;
    }
}

bool LayoutFile::PrintRecord(TBaseReport& report, double x, double y) {
    for (const auto& p : panels_) p->RefreshData();
    const bool clipped = areaWidth_ > 0 && areaHeight_ > 0;
    if (clipped) report.setClipArea(x, y, x + areaWidth_, y + areaHeight_);
    const int bandHeights[] = {settings_.HeaderHeight, settings_.DetailHeight, settings_.FooterHeight};
    double top = y;
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i]->PrintObjects(report, x, top);
        if (kind_ == LayoutKind::Report) top += bandHeights[i] / double(kPixelsPerInch);
    }
    if (clipped) report.clearClipArea();
    bool whole = true;
    for (const auto& p : panels_)
        for (int i = 0; i < p->ObjectCount(); ++i)
            if (const auto* block = dynamic_cast<const TGDMultiLineAddressLabel*>(p->Object(i)))
                whole = whole && block->PrintedWhole();
    for (const auto& p : panels_) p->AdvanceCounters();
    return whole;
}

QString CutAddressNotice(const std::vector<uint32_t>& records) {
    if (records.empty()) return QString();
    constexpr size_t kListed = 10;
    QStringList numbers;
    for (size_t i = 0; i < records.size() && i < kListed; ++i) numbers << QString::number(records[i]);
    if (records.size() > kListed) numbers << "...";
    const bool one = records.size() == 1;
    return QString("%1 %2 did not fit %3 address %4 and %5 cut (%6 %7)")
        .arg(records.size())
        .arg(one ? "address" : "addresses", one ? "its" : "their", one ? "block" : "blocks",
             one ? "was" : "were", one ? "record" : "records", numbers.join(", "));
}

}  // namespace layout
