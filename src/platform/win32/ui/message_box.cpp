#include "platform/win32/ui/message_box.h"

#include "platform/win32/utf16.h"

namespace qx::win32ui {

int showMessageBox(HWND owner, std::string_view text, std::string_view title, int style) {
    return MessageBoxW(owner, win32::toUtf16ForDisplay(text).c_str(), win32::toUtf16ForDisplay(title).c_str(),
                       static_cast<UINT>(style));
}

}  // namespace qx::win32ui
