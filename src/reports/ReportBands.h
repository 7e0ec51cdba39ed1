#pragma once

#include "TReportSettings.h"

// How the report designer sizes its bands, in layout pixels. The header, detail and
// footer bands stand one below the other and together never take more than the page
// between its top and bottom margins; the memo band is a fixed strip that is not counted
// against the page (the report printer adds it per record).
namespace ReportBands {

// Height of the memo view while the memo band is on.
constexpr int kMemoViewHeight = 33;
// Height a band that is switched on with no height gets, when the page has room.
constexpr int kSwitchedOnHeight = 20;
// Room below the bands in the page area, besides the memo view.
constexpr int kPageAreaSlack = 100;

// A band's width: the page between the margins less a quarter inch.
int BandWidth(const TReportSettings& s);
// The page between its top and bottom margins: what the three bands may fill together.
int Room(const TReportSettings& s);
// The designer's page area: the room, the memo view and the slack below.
int PageAreaHeight(const TReportSettings& s);
// The stored height of a header, detail or footer band (0 for the memo band).
int Height(const TReportSettings& s, TReportSettings::Band band);
void SetHeight(TReportSettings& s, TReportSettings::Band band, int height);
bool Used(const TReportSettings& s, TReportSettings::Band band);

// `wanted` for `band`, cut back by however much it and the other two bands would
// exceed the room, and never below 0.
int Fitted(const TReportSettings& s, TReportSettings::Band band, int wanted);
// The height of a band switched on with no height: 20 pixels, less when the page is
// nearly full.
int SwitchedOnHeight(const TReportSettings& s, TReportSettings::Band band);
// A sizer dragged by `dy` pixels from a band `startHeight` high.
int DraggedHeight(const TReportSettings& s, TReportSettings::Band band, int startHeight, int dy);

// A band that is off has no height; one that is on and has none gets its switched-on
// height (unless a sizer is being dragged, when 0 is what the user drew).
void ApplyBandUse(TReportSettings& s, bool dragging);

}  // namespace ReportBands
