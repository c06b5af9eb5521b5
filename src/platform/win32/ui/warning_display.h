// Where a warning goes on Windows. The Linux program writes such a line on
// standard error; a Windows GUI program has no console, and a line nobody
// sees helps nobody. So the first warning of a run is shown in a message
// box (a warning icon, the title "Quendax", owned by the main window) and
// every warning, the first included, goes to the debugger output
// (OutputDebugStringW, readable with DebugView), so a program that keeps
// warning never stacks up boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace qx::win32ui {

class WarningDisplay {
public:
    // `showBox` shows one text to the user; by default a MessageBoxW with
    // MB_ICONWARNING owned by `owner()`.
    explicit WarningDisplay(std::function<HWND()> owner, std::function<void(std::wstring_view text)> showBox = {});

    // A leading "quendax: " (the Linux line's program name) is left out.
    void warn(std::string_view text);
    int boxesShown() const { return boxesShown_; }

private:
    std::function<HWND()> owner_;
    std::function<void(std::wstring_view)> showBox_;
    int boxesShown_ = 0;
};

}  // namespace qx::win32ui
