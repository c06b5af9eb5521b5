#include "platform/win32/ui/win32_dpi.h"

#include "platform/runtime/numbers.h"

namespace qx::win32ui {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn getDpiForWindow() {
    // Looked up once; the answer never changes while the program runs.
    static const GetDpiForWindowFn fn = [] {
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        FARPROC proc = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(proc));
    }();
    return fn;
}

}  // namespace

UINT windowDpi(HWND window) {
    if (GetDpiForWindowFn fn = getDpiForWindow(); fn && window) {
        if (const UINT dpi = fn(window); dpi > 0) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kStandardDpi;
}

double twipsPerPixelForDpi(UINT dpi) { return 1440.0 / static_cast<double>(dpi ? dpi : kStandardDpi); }

int twipsToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(RoundHalfEven(twips / twipsPerPixel));
}

double pixelsToTwips(int pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

PixelSpan twipsSpanToPixels(double start, double length, double twipsPerPixel) {
    const int first = twipsToPixels(start, twipsPerPixel);
    const int last = twipsToPixels(start + length, twipsPerPixel);
    return {first, last > first ? last - first : 0};
}

PixelRect twipsRectToPixels(double left, double top, double width, double height, double twipsPerPixel) {
    const PixelSpan x = twipsSpanToPixels(left, width, twipsPerPixel);
    const PixelSpan y = twipsSpanToPixels(top, height, twipsPerPixel);
    return {x.start, y.start, x.length, y.length};
}

}  // namespace qx::win32ui
