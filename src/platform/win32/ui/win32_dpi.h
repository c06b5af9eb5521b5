// Twips and the screen pixels of one window. A window's DPI comes from
// GetDpiForWindow where the system has it (Windows 10 1607 and later, looked
// up at run time so the program still starts on Windows 7), else from the
// screen's logical pixels per inch.
#pragma once

#include <windows.h>

namespace qx::win32ui {

inline constexpr UINT kStandardDpi = 96;

UINT windowDpi(HWND window);
// 1440 / dpi: 15 at 96 dpi, 12 at 120, 10 at 144, 7.5 at 192.
double twipsPerPixelForDpi(UINT dpi);

// Twips to whole pixels, halves to the even neighbour.
int twipsToPixels(double twips, double twipsPerPixel);
double pixelsToTwips(int pixels, double twipsPerPixel);

// A span [start, start + length) in twips as whole pixels. Both ends are
// rounded, so boxes that share an edge in twips share it in pixels.
struct PixelSpan {
    int start = 0;
    int length = 0;
};
PixelSpan twipsSpanToPixels(double start, double length, double twipsPerPixel);

// A rectangle in a parent window's client pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};
PixelRect twipsRectToPixels(double left, double top, double width, double height, double twipsPerPixel);

}  // namespace qx::win32ui
