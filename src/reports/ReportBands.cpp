#include "ReportBands.h"

#include <algorithm>

#include "LayoutMetrics.h"

namespace ReportBands {

using Band = TReportSettings::Band;

int BandWidth(const TReportSettings& s) {
    return std::max(0, s.PageWidth - s.MarginLeft - s.MarginRight - layout::kPixelsPerInch / 4);
}

int Room(const TReportSettings& s) { return std::max(0, s.PageHeight - s.MarginTop - s.MarginBottom); }

int PageAreaHeight(const TReportSettings& s) {
    return Room(s) + (s.UseMemo ? kMemoViewHeight : 0) + kPageAreaSlack;
}

int Height(const TReportSettings& s, Band band) {
    switch (band) {
        case TReportSettings::Header:
            return s.HeaderHeight;
        case TReportSettings::Detail:
            return s.DetailHeight;
        case TReportSettings::Footer:
            return s.FooterHeight;
        case TReportSettings::Memo:
            break;
    }
    return 0;
}

void SetHeight(TReportSettings& s, Band band, int height) {
    switch (band) {
        case TReportSettings::Header:
            s.HeaderHeight = height;
            break;
        case TReportSettings::Detail:
            s.DetailHeight = height;
            break;
        case TReportSettings::Footer:
            s.FooterHeight = height;
            break;
        case TReportSettings::Memo:
            break;
    }
}

bool Used(const TReportSettings& s, Band band) {
    switch (band) {
        case TReportSettings::Header:
            return s.UseHeader;
        case TReportSettings::Detail:
            return s.UseDetail;
        case TReportSettings::Memo:
            return s.UseMemo;
        case TReportSettings::Footer:
            return s.UseFooter;
    }
    return false;
}

int Fitted(const TReportSettings& s, Band band, int wanted) {
    const int others = s.HeaderHeight + s.DetailHeight + s.FooterHeight - Height(s, band);
    const int excess = std::max(0, others + wanted - Room(s));
    // With the others already over the room the band gets nothing rather than a
    // negative height.
    return std::max(0, wanted - excess);
}

int SwitchedOnHeight(const TReportSettings& s, Band band) { return Fitted(s, band, kSwitchedOnHeight); }

int DraggedHeight(const TReportSettings& s, Band band, int startHeight, int dy) {
    return Fitted(s, band, startHeight + dy);
}

void ApplyBandUse(TReportSettings& s, bool dragging) {
    for (Band band : {TReportSettings::Header, TReportSettings::Detail, TReportSettings::Footer}) {
        if (!Used(s, band))
            SetHeight(s, band, 0);
        else if (Height(s, band) == 0 && !dragging)
            SetHeight(s, band, SwitchedOnHeight(s, band));
    }
}

}  // namespace ReportBands
