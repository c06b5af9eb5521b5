#include "platform/win32/ui/message_box.h"

#include "platform/win32/ui/win32_ui_text.h"

namespace qx::win32ui {

int showMessageBox(HWND owner, std::string_view text, std::string_view title, int style) {
    return MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), static_cast<UINT>(style));
}

}  // namespace qx::win32ui
