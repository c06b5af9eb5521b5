#include "platform/win32/ui/popup_menu.h"

namespace qx::win32ui {

void showPopupMenu(HWND owner, HMENU menu) {
    if (!owner || !menu) return;
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(owner);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace qx::win32ui
