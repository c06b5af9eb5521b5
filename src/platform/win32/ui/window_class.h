// Registering the program's own window classes, once per instance.
#pragma once

#include <windows.h>

namespace qx::win32ui {

struct WindowClassLook {
    bool doubleClicks = false;     // CS_DBLCLKS
    bool arrowCursor = false;      // the standard arrow, else none of its own
    HBRUSH background = nullptr;   // erase brush, else none
    bool ownDc = false;            // CS_OWNDC: one DC kept for each window
};

// Registers `name` with `proc` unless the instance has it already. False
// when it could be neither found nor registered.
bool ensureWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, const WindowClassLook& look = {});

// For a window procedure: the object the window was created for (the last
// argument of CreateWindowExW), kept with the window from WM_NCCREATE on.
// Null for the few messages that come before it.
template <typename T>
T* windowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// For a child window that paints every pixel itself: nothing is erased,
// and WM_PAINT runs `paint(window, *state)` once the window has its state.
// True when `message` was one of those.
template <typename State, typename Paint>
bool paintsItself(HWND window, UINT message, State* state, Paint paint) {
    if (message == WM_ERASEBKGND) return true;
    if (message != WM_PAINT || !state) return false;
    paint(window, *state);
    return true;
}

// For a child window with its own DC: `render(dc, client)` draws it at
// once, straight onto the window, rather than through an invalidate and a
// WM_PAINT, whose BeginPaint and EndPaint cost several more round trips to
// the window system, ten times a second. Out of sight there is nothing to
// draw on: showing the window again sends it a WM_PAINT. False only when
// no DC could be had.
template <typename Render>
bool drawNow(HWND window, Render render) {
    if (!IsWindowVisible(window) || IsIconic(GetAncestor(window, GA_ROOT))) return true;
    HDC dc = GetDC(window);
    if (!dc) return false;
    RECT client;
    GetClientRect(window, &client);
    render(dc, client);
    ReleaseDC(window, dc);
    return true;
}

}  // namespace qx::win32ui
