#pragma once

// Layout geometry is in whole pixels at a fixed 96 per inch, whatever the screen: in
// layout files, in objects and panels at zoom 1.0, and on paper, where a pixel prints
// 1/96 inch. A window that shows a layout converts to its screen in one place, the
// panel's zoom (ScreenZoom), so that a file, a proof print from the command line and a
// print from a window agree on every screen.
namespace layout {

constexpr int kPixelsPerInch = 96;

// The panel zoom that shows a layout `zoom` times as large as on paper on a screen of
// `screenPixelsPerInch` logical pixels per inch: the one place where a screen's
// resolution enters.
inline float ScreenZoom(float zoom, double screenPixelsPerInch) {
    return float(zoom * screenPixelsPerInch / kPixelsPerInch);
}

// a × b ÷ c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace layout
