// Lengths of the window model (twips) as whole screen pixels.
#pragma once

#include "platform/runtime/numbers.h"

namespace qx::ui {

// The nearest whole pixel, halves to the even neighbour (312.5 -> 312), as
// the program rounds the sizes and places it works out in twips. Both
// backends place their controls with it.
inline int twipsToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(RoundHalfEven(twips / twipsPerPixel));
}

// Window pixels as the screen's device pixels (`scale` device pixels each).
inline int toDevicePixels(double pixels, double scale) { return static_cast<int>(RoundHalfEven(pixels * scale)); }

// A span [start, start + length) in twips as whole pixels. Both ends are
// rounded, so boxes that share an edge in twips share it in pixels.
struct PixelSpan {
    int start = 0;
    int length = 0;
};

inline PixelSpan twipsSpanToPixels(double start, double length, double twipsPerPixel) {
    const int first = twipsToPixels(start, twipsPerPixel);
    const int last = twipsToPixels(start + length, twipsPerPixel);
    return {first, last > first ? last - first : 0};
}

// A control's place in its container, in pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// A box in twips as whole pixels, both ends of each side rounded.
inline PixelRect twipsRectToPixels(double left, double top, double width, double height, double twipsPerPixel) {
    const PixelSpan x = twipsSpanToPixels(left, width, twipsPerPixel);
    const PixelSpan y = twipsSpanToPixels(top, height, twipsPerPixel);
    return {x.start, y.start, x.length, y.length};
}

}  // namespace qx::ui
