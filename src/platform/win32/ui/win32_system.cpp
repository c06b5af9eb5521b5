#include "platform/win32/ui/win32_system.h"

#include "platform/win32/ui/message_box.h"
#include "platform/win32/ui/window_stacking.h"
#include "platform/win32/win32_process_start.h"

namespace qx::win32ui {

namespace {
constexpr int kTopMost = -1;
constexpr int kNotTopMost = -2;
}  // namespace

Win32System::Win32System(HINSTANCE instance, MemorySystem& memory, FreeingSystem& freeing,
                         Win32WindowHost& windows, IconCache& icons, ui::Dispatcher& dispatcher,
                         std::string commandLine, win32ui::FailureHandler failed)
    : memory_(memory),
      windows_(windows),
      icons_(icons),
      dispatcher_(dispatcher),
      commandLine_(std::move(commandLine)),
      warnings_([&windows] { return windows.startupHandle(); }),
      blocks_(instance, freeing, dispatcher, failed),
      tray_(instance, win32ui::NotifyIconEvents{
                          [this](int code) {
                              if (trayHandler_) dispatcher_.deliver([&] { trayHandler_(code); });
                          },
                          [this](bool added) {
                              if (added && trayAddedAgain_) dispatcher_.deliver(trayAddedAgain_);
                          },
                          std::move(failed)}) {}

HICON Win32System::trayIcon(TrayImage image) {
    return icons_.icon(image == TrayImage::Warning ? "warning" : "app", GetSystemMetrics(SM_CXSMICON));
}

bool Win32System::notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) {
    switch (message) {
        case TrayMessage::Add: return tray_.add(trayIcon(image), tip);
        case TrayMessage::Modify: return tray_.modify(trayIcon(image), tip);
        case TrayMessage::Delete: return tray_.remove();
    }
    return false;
}

bool Win32System::setWindowPos(int insertAfter) {
    if (insertAfter != kTopMost && insertAfter != kNotTopMost) return false;
    HWND main = windows_.startupHandle();
    return main && win32ui::setTopMost(main, insertAfter == kTopMost);
}

bool Win32System::startProgram(std::string_view path) { return win32::startProgram(path); }

bool Win32System::fileExists(std::string_view path) { return win32::fileExists(path); }

void Win32System::messageBox(std::string_view text, std::string_view title, int style) {
    win32ui::showMessageBox(windows_.startupHandle(), text, title, style);
    if (dispatcher_.ended()) throw ProcessExit{};
}

}  // namespace qx::win32ui
