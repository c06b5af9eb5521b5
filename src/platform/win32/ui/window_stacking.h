// Keeps a top-level window above all others, or lets it go back among
// them, keeping its place and size and without activating it.
#pragma once

#include <windows.h>

namespace qx::win32ui {

// False when the system refuses.
bool setTopMost(HWND window, bool topMost);
bool isTopMost(HWND window);

}  // namespace qx::win32ui
