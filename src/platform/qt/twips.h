// Lengths of the window model in the toolkit's device-independent pixels.
// One pixel is 15 twips, always: the toolkit's own high-DPI scaling turns
// these pixels into device pixels, so the logical DPI is never consulted.
#pragma once

#include <cmath>

namespace qx::qt {

inline constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }
inline double pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A span [start, start + length) in twips as whole pixels. Both ends are
// rounded, so boxes that share an edge in twips share it in pixels.
struct PixelSpan {
    int start = 0;
    int length = 0;
};

inline PixelSpan twipsSpanToPixels(double start, double length) {
    const int first = twipsToPixels(start);
    const int last = twipsToPixels(start + length);
    return {first, last > first ? last - first : 0};
}

}  // namespace qx::qt
