// The operating-system services of a Qt desktop: memory figures, the
// freeing block (waited for from the event loop) and the About box's
// lookups from the platform the program runs on, handed in; everything about windows, the notification area,
// message boxes and starting programs from Qt.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/qt/block_waiter.h"
#include "platform/qt/qt_window_host.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/system.h"

namespace qx::qt {

class QtSystem final : public System {
public:
    // `commandLine` is the program's own arguments joined by single blanks.
    QtSystem(MemorySystem& memory, FreeingSystem& freeing, WatchedBlock& blocks, LookupSystem& lookups,
             QtWindowHost& windows, std::string commandLine);

    // Mouse messages from the notification-area icon (515, 517).
    void setTrayHandler(std::function<void(int message)> handler);
    QtTrayIcon& tray() { return tray_; }

    bool globalMemoryStatusEx(MemoryStatusEx& status) override;
    void globalMemoryStatus(MemoryStatus& status) override;
    bool getSystemTimes(SystemTimes& times) override;

    bool createBlock(std::uint64_t characters) override;
    void releaseBlock() override;
    // Waits for the block from the event loop (BlockWaiter); a block that
    // can't be had names on standard error what refused it.
    void startBlock(std::uint64_t characters, std::function<void(bool ok)> done) override;
    bool blockPending() const { return blockWaiter_.waiting(); }

    bool notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) override;
    bool setWindowPos(int insertAfter) override;
    bool regOpenKey(std::string_view keyPath) override;
    bool regQueryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) override;
    bool startProgram(std::string_view path) override;
    bool fileExists(std::string_view path) override;

    // Modal; the timers go on ticking while it is open. If a handler ends
    // the program meanwhile, the caller is ended too.
    void messageBox(std::string_view text, std::string_view title, int style) override;
    void warn(std::string_view text) override;
    std::string commandLine() override { return commandLine_; }
    [[noreturn]] void exitProcess() override;

private:

    MemorySystem& memory_;
    FreeingSystem& freeing_;
    LookupSystem& lookups_;
    QtWindowHost& windows_;
    std::string commandLine_;
    QtTrayIcon tray_;
    BlockWaiter blockWaiter_;
    bool topMostRefusalSaid_ = false;
};

}  // namespace qx::qt
