// The simulated machine: scripted memory figures and processor times,
// operations that can be made to fail, and a record of every external effect
// as an event line "@T ..." at the virtual time T.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include "platform/system.h"

namespace qx::sim {

class SimSystem final : public System {
public:
    SimSystem(std::ostream& out, std::function<std::int64_t()> clock);

    // Scripted state.
    MemoryStatusEx extended;
    MemoryStatusEx legacy;  // reported saturated to 32 bits
    SystemTimes times;
    std::string commandLineText;
    std::set<std::string> failing;  // memstatus, alloc, tray, start, topmost, cputimes
    std::map<std::pair<std::string, std::string>, RegistryValue> registry;
    std::set<std::string> files;
    // How long (virtual ms) a message box stays open; timers go on ticking
    // meanwhile. 0: answered at once.
    std::int64_t messageBoxHoldMs = 0;
    std::function<void(std::int64_t)> holdOpen;  // advances the clock
    // How long (virtual ms) making a freeing block takes. 0: at once, inside
    // the freeing run; more: the run's end is an event of its own that
    // much later, and everything else goes on meanwhile.
    std::int64_t blockMs = 0;
    std::function<void(std::int64_t, std::function<void()>)> schedule;  // runs an event later

    bool trayIconPresent() const { return trayPresent_; }
    // Takes the notification area away (its icon goes with it) or brings
    // one back, empty; while there is none, every icon operation fails.
    void setTrayHost(bool present) {
        trayHost_ = present;
        if (!present) trayPresent_ = false;
    }
    // The taskbar is created again: an icon the program asked for (added,
    // or refused for want of a notification area, and not deleted) is added
    // again with its last picture. True when it is there now.
    bool taskbarCreated();
    bool fails(const char* name) const { return failing.count(name) != 0; }

    bool globalMemoryStatusEx(MemoryStatusEx& status) override;
    void globalMemoryStatus(MemoryStatus& status) override;
    bool getSystemTimes(SystemTimes& t) override;
    bool createBlock(std::uint64_t characters) override;
    void releaseBlock() override {}
    void startBlock(std::uint64_t characters, std::function<void(bool ok)> done) override;
    bool notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) override;
    bool setWindowPos(int insertAfter) override;
    bool regOpenKey(std::string_view keyPath) override;
    bool regQueryValue(std::string_view keyPath, std::string_view valueName,
                       RegistryValue& value) override;
    bool startProgram(std::string_view path) override;
    bool fileExists(std::string_view path) override;
    void messageBox(std::string_view text, std::string_view title, int style) override;
    void warn(std::string_view text) override;
    std::string commandLine() override { return commandLineText; }
    [[noreturn]] void exitProcess() override;

    // Starts an event line: "@T ".
    std::ostream& event();

private:
    std::ostream& out_;
    std::function<std::int64_t()> clock_;
    bool trayPresent_ = false;
    bool trayHost_ = true;
    bool trayWanted_ = false;
    TrayImage trayImage_ = TrayImage::Normal;
    std::string trayTip_;
};

}  // namespace qx::sim
