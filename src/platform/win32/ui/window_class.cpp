#include "platform/win32/ui/window_class.h"

namespace qx::win32ui {

bool ensureWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, const WindowClassLook& look) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = (look.doubleClicks ? CS_DBLCLKS : 0) | (look.ownDc ? CS_OWNDC : 0);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    if (look.arrowCursor) wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = look.background;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace qx::win32ui
