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

}  // namespace qx::win32ui
