// A System whose registry, program start and file test are the real Win32
// ones, for driving the About box's lookups against a Wine prefix. Windows,
// tray and timers are not needed there and refuse.
#pragma once

#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/win32/win32_process_start.h"
#include "platform/win32/win32_registry.h"

namespace qx::win32 {

class Win32TestSystem final : public System {
public:
    std::vector<std::string> messages;

    bool globalMemoryStatusEx(MemoryStatusEx&) override { return false; }
    void globalMemoryStatus(MemoryStatus&) override {}
    bool getSystemTimes(SystemTimes&) override { return false; }
    bool createBlock(std::uint64_t) override { return false; }
    void releaseBlock() override {}
    bool notifyIcon(TrayMessage, TrayImage, std::string_view) override { return false; }
    bool setWindowPos(int) override { return false; }
    bool regOpenKey(std::string_view keyPath) override { return registry_.openKey(keyPath); }
    bool regQueryValue(std::string_view keyPath, std::string_view valueName, RegistryValue& value) override {
        return registry_.queryValue(keyPath, valueName, value);
    }
    bool startProgram(std::string_view path) override { return win32::startProgram(path); }
    bool fileExists(std::string_view path) override { return win32::fileExists(path); }
    void messageBox(std::string_view text, std::string_view, int) override { messages.emplace_back(text); }
    void warn(std::string_view) override {}
    std::string commandLine() override { return {}; }
    [[noreturn]] void exitProcess() override { throw ProcessExit{}; }

private:
    Win32Registry registry_;
};

}  // namespace qx::win32
