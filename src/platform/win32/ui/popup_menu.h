// Shows a drop-down HMENU as a pop-up menu at the mouse position. The owner
// is brought to the foreground first and a WM_NULL posted to it afterwards,
// so the menu closes when the user clicks elsewhere, even when it was opened
// from the notification-area icon. The chosen entry arrives at the owner as
// WM_COMMAND, as from its menu bar.
#pragma once

#include <windows.h>

namespace qx::win32ui {

void showPopupMenu(HWND owner, HMENU menu);

}  // namespace qx::win32ui
