// Twips and the screen pixels of one window. A window's DPI comes from
// GetDpiForWindow where the system has it (Windows 10 1607 and later, looked
// up at run time so the program still starts on Windows 7), else from the
// screen's logical pixels per inch.
#pragma once

#include <windows.h>

#include "platform/ui/pixels.h"

namespace qx::win32ui {

inline constexpr UINT kStandardDpi = 96;

UINT windowDpi(HWND window);

// Asks to be told each monitor's DPI (and to get WM_DPICHANGED), for when
// the application manifest doesn't say so: per-monitor v2 on Windows 10
// 1703 and later, per-monitor on 8.1, system DPI on Vista and 7. Call it
// before the first window is made. False when none of them could be set
// (already set by the manifest, or too old a system).
bool becomeDpiAware();
// 1440 / dpi: 15 at 96 dpi, 12 at 120, 10 at 144, 7.5 at 192.
double twipsPerPixelForDpi(UINT dpi);

// Twips to whole pixels, spans of them and rectangles in a parent window's
// client pixels: the shared rounding and types.
using ui::PixelRect;
using ui::PixelSpan;
using ui::twipsSpanToPixels;
using ui::twipsToPixels;
double pixelsToTwips(int pixels, double twipsPerPixel);

using ui::twipsRectToPixels;

}  // namespace qx::win32ui
