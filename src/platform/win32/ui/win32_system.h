// The operating-system services on Windows as the main window sees them:
// memory figures and the freeing block as given, the notification-area
// icon, the window's stacking, the freeing block made on a thread of its
// own (see Win32BlockWaiter), the registry, starting programs, message
// boxes owned by the main window and warnings (see WarningDisplay).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/system.h"
#include "platform/ui/dispatcher.h"
#include "platform/win32/ui/win32_block_waiter.h"
#include "platform/win32/ui/win32_icons.h"
#include "platform/win32/ui/win32_window_host.h"
#include "platform/win32/ui/notify_icon.h"
#include "platform/win32/ui/warning_display.h"
#include "platform/win32/win32_registry.h"

namespace qx::win32ui {

class Win32System final : public System {
public:
    Win32System(HINSTANCE instance, MemorySystem& memory, FreeingSystem& freeing, Win32WindowHost& windows,
                IconCache& icons, ui::Dispatcher& dispatcher, std::string commandLine,
                win32ui::FailureHandler failed);

    // The icon's mouse codes (512-518), run as events.
    void setTrayHandler(std::function<void(int code)> handler) { trayHandler_ = std::move(handler); }
    // The taskbar came back and the icon with it, run as an event.
    void setTrayAddedAgain(std::function<void()> handler) { trayAddedAgain_ = std::move(handler); }
    win32ui::NotifyIcon& tray() { return tray_; }

    bool globalMemoryStatusEx(MemoryStatusEx& status) override { return memory_.globalMemoryStatusEx(status); }
    void globalMemoryStatus(MemoryStatus& status) override { memory_.globalMemoryStatus(status); }
    bool getSystemTimes(SystemTimes& times) override { return memory_.getSystemTimes(times); }

    bool createBlock(std::uint64_t characters) override { return blocks_.createBlock(characters); }
    void releaseBlock() override { blocks_.releaseBlock(); }
    void startBlock(std::uint64_t characters, std::function<void(bool ok)> done) override {
        blocks_.start(characters, std::move(done));
    }
    Win32BlockWaiter& blocks() { return blocks_; }

    bool notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) override;
    bool setWindowPos(int insertAfter) override;
    bool regOpenKey(std::string_view keyPath) override { return registry_.openKey(keyPath); }
    bool regQueryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) override {
        return registry_.queryValue(keyPath, valueName, value);
    }
    bool startProgram(std::string_view path) override;
    bool fileExists(std::string_view path) override;

    // Modal, owned by the main window; the timers go on ticking while it is
    // open. If a handler ends the program meanwhile, the caller is ended too.
    void messageBox(std::string_view text, std::string_view title, int style) override;
    void warn(std::string_view text) override { warnings_.warn(text); }
    std::string commandLine() override { return commandLine_; }
    [[noreturn]] void exitProcess() override { throw ProcessExit{}; }

private:
    HICON trayIcon(TrayImage image);

    MemorySystem& memory_;
    Win32WindowHost& windows_;
    IconCache& icons_;
    ui::Dispatcher& dispatcher_;
    std::string commandLine_;
    win32::Win32Registry registry_;
    win32ui::WarningDisplay warnings_;
    Win32BlockWaiter blocks_;
    std::function<void(int)> trayHandler_;
    std::function<void()> trayAddedAgain_;
    win32ui::NotifyIcon tray_;
};

}  // namespace qx::win32ui
