#include "platform/sim/sim_system.h"

#include <algorithm>

#include "platform/generic/figure_rules.h"
#include "platform/sim/escaped_text.h"

namespace qx::sim {

namespace {
constexpr std::uint64_t kGiB = 1ull << 30;
constexpr std::uint64_t kTiB = 1ull << 40;

// Available memory is never more than there is, as the Linux backend
// reports it: a scripted figure above its total is capped at the total.
MemoryStatusEx Capped(MemoryStatusEx s) {
    s.availPhys = std::min(s.availPhys, s.totalPhys);
    s.availPageFile = std::min(s.availPageFile, s.totalPageFile);
    s.availVirtual = std::min(s.availVirtual, s.totalVirtual);
    return s;
}

const char* ImageName(TrayImage image) { return image == TrayImage::Warning ? "warning" : "normal"; }
}  // namespace

SimSystem::SimSystem(std::ostream& out, std::function<std::int64_t()> clock)
    : out_(out), clock_(std::move(clock)) {
    extended = {8 * kGiB, 4 * kGiB, 16 * kGiB, 8 * kGiB, 128 * kTiB, 128 * kTiB};
    legacy = extended;
}

std::ostream& SimSystem::event() { return out_ << '@' << clock_() << ' '; }

bool SimSystem::globalMemoryStatusEx(MemoryStatusEx& status) {
    if (fails("memstatus")) return false;
    status = Capped(extended);
    return true;
}

void SimSystem::globalMemoryStatus(MemoryStatus& status) {
    status = generic::capToLegacy(Capped(legacy));
}

bool SimSystem::getSystemTimes(SystemTimes& t) {
    if (fails("cputimes")) return false;
    t = times;
    return true;
}

bool SimSystem::createBlock(std::uint64_t characters) {
    const bool ok = !fails("alloc");
    event() << "block " << characters * 2 << (ok ? "" : " failed") << '\n';
    return ok;
}

void SimSystem::startBlock(std::uint64_t characters, std::function<void(bool ok)> done) {
    if (blockMs <= 0 || !schedule) {
        FreeingSystem::startBlock(characters, std::move(done));
        return;
    }
    // Whether the block can be had is known only when it is done.
    event() << "block " << characters * 2 << " started\n";
    schedule(blockMs, [this, characters, done = std::move(done)] {
        const bool ok = !fails("alloc");
        event() << "block " << characters * 2 << (ok ? " done" : " failed") << '\n';
        done(ok);
    });
}

bool SimSystem::notifyIcon(TrayMessage message, TrayImage image, std::string_view tip) {
    if (message == TrayMessage::Delete) {
        trayWanted_ = false;
    } else {
        if (message == TrayMessage::Add) trayWanted_ = true;
        trayImage_ = image;
        trayTip_ = std::string(tip);
    }
    static const char* const kVerbs[] = {"add", "modify", "delete"};
    const bool ok = !fails("tray") && trayHost_;
    event() << "tray " << kVerbs[static_cast<int>(message)] << ' ' << ImageName(image)
            << (ok ? "" : " failed") << '\n';
    if (ok && message == TrayMessage::Add) trayPresent_ = true;
    if (message == TrayMessage::Delete) trayPresent_ = false;
    return ok;
}

bool SimSystem::taskbarCreated() {
    if (!trayWanted_) return false;
    return notifyIcon(TrayMessage::Add, trayImage_, trayTip_);
}

bool SimSystem::setWindowPos(int insertAfter) {
    const bool ok = !fails("topmost");
    event() << "topmost " << insertAfter << (ok ? "" : " failed") << '\n';
    return ok;
}

bool SimSystem::regOpenKey(std::string_view keyPath) {
    for (const auto& [key, value] : registry) {
        if (key.first == keyPath) return true;
    }
    return false;
}

bool SimSystem::regQueryValue(std::string_view keyPath, std::string_view valueName,
                              RegistryValue& value) {
    auto it = registry.find({std::string(keyPath), std::string(valueName)});
    if (it == registry.end()) return false;
    value = it->second;
    return true;
}

bool SimSystem::startProgram(std::string_view path) {
    // There is no program without a name.
    const bool ok = !fails("start") && !path.empty();
    event() << "start \"" << EscapeControls(path) << '"' << (ok ? "" : " failed") << '\n';
    return ok;
}

bool SimSystem::fileExists(std::string_view path) { return files.count(std::string(path)) != 0; }

void SimSystem::messageBox(std::string_view text, std::string_view title, int style) {
    event() << "msgbox \"" << text << "\" \"" << title << "\" " << style << '\n';
    if (messageBoxHoldMs > 0 && holdOpen) holdOpen(messageBoxHoldMs);
}

void SimSystem::warn(std::string_view text) { event() << "stderr \"" << text << "\"\n"; }

void SimSystem::exitProcess() {
    event() << "exit\n";
    throw ProcessExit{};
}

}  // namespace qx::sim
