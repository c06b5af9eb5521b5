// Messages the program's own child windows send to the top-level window
// they lie in.
#pragma once

#include <windows.h>

namespace qx::win32ui {

// A label or picture box was double-clicked; lParam is its HWND.
inline constexpr UINT kChildDoubleClicked = WM_APP + 0x51;

// The top-level window a child lies in.
inline HWND rootOf(HWND child) { return GetAncestor(child, GA_ROOT); }

inline void reportDoubleClick(HWND child) {
    if (HWND root = rootOf(child)) SendMessageW(root, kChildDoubleClicked, 0, reinterpret_cast<LPARAM>(child));
}

}  // namespace qx::win32ui
