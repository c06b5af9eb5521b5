// Modal message boxes on MessageBoxW, owned by the main window (so they stay
// above it and it is disabled while they are open), with the style number
// exactly as the program gives it (16: stop icon and OK, 64: information).
#pragma once

#include <windows.h>

#include <string_view>

namespace qx::win32ui {

// The button the user chose (IDOK, ...), 0 if the box could not be shown.
int showMessageBox(HWND owner, std::string_view text, std::string_view title, int style);

}  // namespace qx::win32ui
