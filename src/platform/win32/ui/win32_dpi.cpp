#include "platform/win32/ui/win32_dpi.h"

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

template <typename Fn>
Fn lookUp(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) handle = LoadLibraryW(module);
    FARPROC proc = handle ? GetProcAddress(handle, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

}  // namespace

bool becomeDpiAware() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    using SetAwarenessFn = HRESULT(WINAPI*)(int);
    using SetAwareFn = BOOL(WINAPI*)();
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, then PER_MONITOR_AWARE.
    if (auto setContext = lookUp<SetContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return true;
        if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)))) return true;
    }
    constexpr int kPerMonitorAware = 2;
    if (auto setAwareness = lookUp<SetAwarenessFn>(L"shcore.dll", "SetProcessDpiAwareness")) {
        if (SUCCEEDED(setAwareness(kPerMonitorAware))) return true;
    }
    if (auto setAware = lookUp<SetAwareFn>(L"user32.dll", "SetProcessDPIAware")) return setAware() != FALSE;
    return false;
}

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

double pixelsToTwips(int pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

}  // namespace qx::win32ui
