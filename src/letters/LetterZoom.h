#pragma once

// The letter preview's zoom steps, in whole percent.
namespace LetterZoom {

// 1.25 times the zoom, only while it is below 150 (100 gives 125, then 156, then stays).
inline int In(int zoom) { return zoom < 150 ? int(zoom * 1.25) : zoom; }
// 0.75 times the zoom, only while it is above 50 (100 gives 75, 56, 42, then stays).
inline int Out(int zoom) { return zoom > 50 ? int(zoom * 0.75) : zoom; }
// The zoom at which `pagePixels` (at 100%) fill `windowPixels`; at least 1.
inline int Fit(int windowPixels, int pagePixels) {
    return pagePixels > 0 ? (windowPixels * 100 / pagePixels > 0 ? windowPixels * 100 / pagePixels : 1) : 100;
}

}  // namespace LetterZoom
