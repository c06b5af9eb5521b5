// The operating-system services the program uses, as one interface.
// Everything above platform/ reaches the machine only through this, so a
// simulated machine can stand in for the real one in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qx {

// The memory status: byte counts of physical memory, the page file and the
// process's address space, each total and available, held in `Count`.
template <typename Count>
struct MemoryCounts {
    Count totalPhys = 0;
    Count availPhys = 0;
    Count totalPageFile = 0;
    Count availPageFile = 0;
    Count totalVirtual = 0;
    Count availVirtual = 0;
};

// Extended memory status: the counts as 64-bit unsigned numbers.
using MemoryStatusEx = MemoryCounts<std::uint64_t>;

// Legacy memory status: the same counts, each held in 32 bits.
using MemoryStatus = MemoryCounts<std::uint32_t>;

// Cumulative processor times of all processors, in 100-ns units.
// Kernel time includes idle time.
struct SystemTimes {
    std::uint64_t idle = 0;
    std::uint64_t kernel = 0;
    std::uint64_t user = 0;
};

// Thrown by ProcessSystem::exitProcess: the process ends, no further
// handler runs. Backends catch it where they dispatch events.
struct ProcessExit {};

// Which picture the notification-area icon shows.
enum class TrayImage { Normal, Warning };

enum class TrayMessage { Add = 0, Modify = 1, Delete = 2 };

// The mouse messages a backend reports from the notification-area icon.
inline constexpr int kTrayDoubleClick = 515;   // left button double-clicked
inline constexpr int kTrayContextClick = 517;  // right button released

// A registry value as the platform stores it: its type and raw bytes.
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;
};

class MemorySystem {
public:
    virtual ~MemorySystem() = default;
    // Fills `status`; false when the query fails.
    virtual bool globalMemoryStatusEx(MemoryStatusEx& status) = 0;
    virtual void globalMemoryStatus(MemoryStatus& status) = 0;
    // Fills `times`; false when they could not be read (`times` is then left
    // as it was).
    virtual bool getSystemTimes(SystemTimes& times) = 0;
};

class FreeingSystem {
public:
    virtual ~FreeingSystem() = default;
    // Creates a block of `characters` two-byte characters and writes every
    // one of them as a space. False when the memory can't be had (safely).
    virtual bool createBlock(std::uint64_t characters) = 0;
    // Gives the block's memory back. Harmless when there is no block.
    virtual void releaseBlock() = 0;

    // The same block without waiting for it, so the window goes on painting
    // and answering while it is made. Starts the block and returns; `done`
    // gets the outcome (createBlock's result) later, as an event of its own
    // that the backend delivers like a timer tick, never nested in another
    // handler. The block is then held until releaseBlock(). A backend that
    // can't wait from its event loop makes the block here and calls `done`
    // before returning, which is what this default does.
    virtual void startBlock(std::uint64_t characters, std::function<void(bool ok)> done) {
        done(createBlock(characters));
    }

    // Why the last block was refused, in one line for standard error (the
    // limit that refused it); empty when it wasn't, or no reason is known.
    virtual std::string blockRefusal() const { return {}; }
};

// The lookups the About box makes: the registry and whether a file is there.
// A window backend may take them from another part of the platform.
class LookupSystem {
public:
    virtual ~LookupSystem() = default;
    // Reads one value under HKEY_LOCAL_MACHINE; false when key or value is absent.
    virtual bool regOpenKey(std::string_view keyPath) = 0;
    virtual bool regQueryValue(std::string_view keyPath, std::string_view valueName,
                               RegistryValue& value) = 0;
    virtual bool fileExists(std::string_view path) = 0;
};

class ShellSystem : public LookupSystem {
public:
    // Adds, changes or removes the notification-area icon. False when refused.
    virtual bool notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) = 0;
    // Stacking order: -1 top-most, -2 normal. False when refused.
    virtual bool setWindowPos(int insertAfter) = 0;
    // Starts a program; false when the platform refuses.
    virtual bool startProgram(std::string_view path) = 0;
};

class ProcessSystem {
public:
    virtual ~ProcessSystem() = default;
    // Shows a modal message box; returns when it has been closed.
    virtual void messageBox(std::string_view text, std::string_view title, int style) = 0;
    // One line for the user on standard error (for a desktop program that has
    // no other way to say it, such as a missing notification area).
    virtual void warn(std::string_view text) = 0;
    // The program's arguments as one text.
    virtual std::string commandLine() = 0;
    // Ends the process at once: throws ProcessExit after the backend has
    // stopped delivering events.
    [[noreturn]] virtual void exitProcess() = 0;
};

// Everything together, as handed to the main window.
class System : public MemorySystem,
               public FreeingSystem,
               public ShellSystem,
               public ProcessSystem {};

}  // namespace qx
