// Lengths of the window model in the toolkit's device-independent pixels.
// One pixel is 15 twips, always: the toolkit's own high-DPI scaling turns
// these pixels into device pixels, so the logical DPI is never consulted.
#pragma once

#include "platform/ui/pixels.h"

namespace qx::qt {

inline constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) { return ui::twipsToPixels(twips, kTwipsPerPixel); }
inline double pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

using ui::PixelSpan;

inline PixelSpan twipsSpanToPixels(double start, double length) {
    return ui::twipsSpanToPixels(start, length, kTwipsPerPixel);
}

}  // namespace qx::qt
