#include "platform/win32/ui/warning_display.h"

#include "platform/win32/utf16.h"

namespace qx::win32ui {

WarningDisplay::WarningDisplay(std::function<HWND()> owner, std::function<void(std::wstring_view text)> showBox)
    : owner_(std::move(owner)), showBox_(std::move(showBox)) {
    if (!showBox_) {
        showBox_ = [this](std::wstring_view text) {
            const std::wstring copy(text);
            MessageBoxW(owner_ ? owner_() : nullptr, copy.c_str(), L"Quendax", MB_OK | MB_ICONWARNING);
        };
    }
}

void WarningDisplay::warn(std::string_view text) {
    // The debugger output names the program; the box has it in its title.
    constexpr std::string_view kPrefix = "quendax: ";
    if (text.substr(0, kPrefix.size()) == kPrefix) text.remove_prefix(kPrefix.size());
    const std::wstring wide = win32::toUtf16ForDisplay(text);
    OutputDebugStringW((L"quendax: " + wide + L"\n").c_str());
    if (boxesShown_ > 0) return;
    ++boxesShown_;
    showBox_(wide);
}

}  // namespace qx::win32ui
