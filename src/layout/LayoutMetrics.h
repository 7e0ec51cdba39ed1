#pragma once

// The screen's logical pixels per inch: layout coordinates are whole pixels at this
// resolution, and paper positions divide by it.
namespace layout {

// The primary screen's logical resolution when a GUI application runs, else 96, unless
// a value was set with SetScreenPixelsPerInch.
int ScreenPixelsPerInch();
// Fixes the resolution (tests, headless jobs); 0 returns to the screen's.
void SetScreenPixelsPerInch(int ppi);

// a × b ÷ c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace layout
