#pragma once

#include <QString>

#include "LayoutColors.h"
#include "LayoutStatus.h"

namespace layout {
class LayoutStreamReader;
class LayoutStreamWriter;
}  // namespace layout

// The frame of one report band: borders, their line width and the shading.
struct TReportBandFrame {
    bool LeftBorder = false;
    bool TopBorder = false;
    bool RightBorder = false;
    bool BottomBorder = false;
    int LineWidth = 0;     // 1 to 3
    int ShadePercent = 0;  // 0 to 100
    TColor ShadeColor = clWhite;

    bool operator==(const TReportBandFrame& o) const;
};

// The page and band settings of a report, shared by the report designer, the
// settings dialog and the report printer. Lengths are in layout pixels (96 per inch) in
// memory and in thousandths of an inch in the layout file.
struct TReportSettings {
    enum Band { Header, Detail, Memo, Footer };

    int PageWidth = 816;  // Letter portrait at 96 pixels per inch
    int PageHeight = 1056;
    int MarginLeft = 48, MarginTop = 48, MarginRight = 48, MarginBottom = 48;
    int HeaderHeight = 33, DetailHeight = 33, FooterHeight = 33;
    bool UseHeader = true, UseDetail = true, UseMemo = false, UseFooter = false;
    QString MemoFontName = "Arial";
    int MemoFontSize = 10;
    bool MemoBold = false, MemoItalic = false;
    int MemoAlignment = 0;  // 0 left, 1 right, 2 centred
    QString DefaultFontName = "Arial";
    int DefaultFontSize = 10;
    bool DefaultBold = false, DefaultItalic = false;
    TReportBandFrame Frames[4];

    bool operator==(const TReportSettings& o) const;

    // The fourth list of a report file: nine lengths, four flags, the memo font, the
    // default font, and the four band frames (header, detail, memo, footer).
    void Write(layout::LayoutStreamWriter& w) const;
    // Reads the list written by Write, passing over values that a later version added
    // after them; the settings change only when all of them were read.
    LayoutStatus Read(layout::LayoutStreamReader& r);

    // Pixels → thousandths of an inch (truncated) and back (rounded, so that a length
    // survives being stored: 793 pixels → 8260 → 793 at 96 pixels per inch).
    static int PixelsToThousandths(int pixels, int ppi);
    static int ThousandthsToPixels(int thousandths, int ppi);
};
