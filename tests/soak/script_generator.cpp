#include "script_generator.h"

#include <array>

namespace qx::soak {

namespace {

constexpr std::uint64_t kGiB = 1ull << 30;

// Byte counts at the edges of the number ranges: 32-bit limits, the sign
// bit of the high half, and the largest count a script number holds.
constexpr std::array<std::uint64_t, 7> kExtremes = {
    1, 4294967295ull, 4294967296ull, 9223372036854774784ull, 9223372036854775808ull,
    18446744073709549568ull, 1048575};

template <typename T, std::size_t N>
const T& pick(Random& random, const std::array<T, N>& items) {
    return items[random.below(N)];
}

}  // namespace

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::uint64_t ScriptGenerator::amount() {
    const auto roll = random_.below(100);
    if (roll < 8) return 0;
    if (roll < 16) return pick(random_, kExtremes);
    if (roll < 24) return random_.below(64 * 1048576ull);  // below 64 MB
    return random_.below(256 * kGiB) + 1;
}

std::string ScriptGenerator::memoryLine(const char* command) {
    std::string line = command;
    static const char* const kPairs[3][2] = {{"total_phys", "avail_phys"},
                                             {"total_pagefile", "avail_pagefile"},
                                             {"total_virtual", "avail_virtual"}};
    for (const auto& pair : kPairs) {
        // Most lines change every figure; some leave a kind as it was.
        if (random_.chance(15)) continue;
        const std::uint64_t total = amount();
        std::uint64_t avail;
        const auto roll = random_.below(100);
        if (roll < 10) avail = 0;
        else if (roll < 20) avail = total;  // nothing in use
        else if (roll < 25) avail = total > 0 ? total - 1 : 0;
        else if (roll < 30) avail = total / 100 * 5;  // right at the warning level
        else if (roll < 35) avail = amount();  // unrelated, may exceed the total
        else avail = total == 0 ? 0 : random_.below(total) + (random_.chance(50) ? 0 : 1);
        line += std::string(" ") + pair[0] + "=" + std::to_string(total);
        line += std::string(" ") + pair[1] + "=" + std::to_string(avail);
    }
    if (line == command) line += " total_phys=" + std::to_string(amount());
    return line;
}

std::uint64_t ScriptGenerator::counter(std::uint64_t previous) {
    const auto roll = random_.below(100);
    if (roll < 5) return 0;
    if (roll < 10) return previous;  // no time passed
    if (roll < 14) return previous / 2;  // a counter that went back
    if (roll < 18) return pick(random_, kExtremes);
    if (previous > 18000000000000000000ull) return random_.below(1000000);
    return previous + random_.below(2000000);
}

std::string ScriptGenerator::cpuLine() {
    idle_ = counter(idle_);
    kernel_ = counter(kernel_);
    user_ = counter(user_);
    return "cpu idle=" + std::to_string(idle_) + " kernel=" + std::to_string(kernel_) +
           " user=" + std::to_string(user_);
}

std::vector<std::string> ScriptGenerator::opening() {
    idle_ = kernel_ = user_ = 0;
    std::vector<std::string> lines;
    lines.push_back(memoryLine("mem"));
    if (random_.chance(30)) lines.push_back(memoryLine("legacy"));
    lines.push_back(cpuLine());
    if (random_.chance(10)) lines.push_back("fail tray");
    if (random_.chance(10)) lines.push_back("fail memstatus");
    if (random_.chance(20)) {
        lines.push_back(R"(reg "SOFTWARE\Microsoft\Shared Tools\MSINFO" PATH 1 "C:\Tools\MSINFO32.EXE")");
        if (random_.chance(50)) lines.push_back(R"(file "C:\Tools\MSINFO32.EXE")");
    }
    static constexpr std::array<const char*, 6> kTpp = {"15", "15", "12", "20", "7.5", "1"};
    if (random_.chance(20)) lines.push_back(std::string("twips-per-pixel ") + pick(random_, kTpp));
    static constexpr std::array<const char*, 8> kStarts = {
        "start", "start", "start", "start", "start /AUTO", "start /auto", "start /QUIT", "start /X"};
    lines.push_back(pick(random_, kStarts));
    return lines;
}

std::string ScriptGenerator::step(bool aboutOpen) {
    static constexpr std::array<const char*, 12> kMenus = {
        "mnuDefragMemory1", "mnuDefragMemory2", "mnuDefragMemory3", "mnuSpeedSlow",
        "mnuSpeedNormal",   "mnuTopWindow",     "mnuToTray",        "mnuAbout",
        "mnuShow",          "cmdOK",            "cmdSysInfo",       "mnuExit2"};
    static constexpr std::array<const char*, 8> kKeys = {"Ctrl+F", "Ctrl+U", "Ctrl+T", "Ctrl+H",
                                                         "F1",     "Enter",  "Esc",    "Ctrl+Q"};
    static constexpr std::array<const char*, 9> kDoubleClicks = {
        "frmMain", "Frame1", "lblTotalPhysicalShow", "lblUsedPhysicalShow", "lblFreePhysicalShow",
        "lblTotalPagefileShow", "lblUsedPagefileShow", "lblFreePagefileShow", "picHist"};
    static constexpr std::array<const char*, 5> kFailing = {"memstatus", "alloc", "tray", "start",
                                                            "topmost"};
    static constexpr std::array<const char*, 7> kTpp = {"15", "12", "20", "7.5", "1", "30", "15"};
    static constexpr std::array<const char*, 5> kHolds = {"0", "0", "100", "700", "6000"};

    const auto roll = random_.below(1000);
    if (roll < 420) {
        // Time passing: mostly single ticks and a few seconds at most.
        static constexpr std::array<int, 8> kSteps = {100, 100, 100, 200, 500, 1000, 2500, 6000};
        const int ms = random_.chance(20) ? static_cast<int>(random_.below(100)) : pick(random_, kSteps);
        return "advance " + std::to_string(ms);
    }
    if (roll < 520) return memoryLine("mem");
    if (roll < 540) return memoryLine("legacy");
    if (roll < 600) return cpuLine();
    if (roll < 640) return std::string(random_.chance(50) ? "fail " : "heal ") + pick(random_, kFailing);
    if (roll < 720) {
        // Exits are rare so that one run of the program lasts a while.
        const char* menu = pick(random_, kMenus);
        if (std::string(menu) == "mnuExit2" && !random_.chance(10)) menu = "mnuSpeedNormal";
        if (std::string(menu) == "mnuDefragMemory2" && !random_.chance(20)) menu = "mnuDefragMemory1";
        if (menu[0] == 'c' && !aboutOpen) menu = "mnuAbout";
        return std::string("click ") + menu;
    }
    if (roll < 780) {
        std::string key = pick(random_, kKeys);
        if (key == "Ctrl+Q" && !random_.chance(10)) key = "Ctrl+T";
        return "key " + key;
    }
    if (roll < 820) return std::string("dblclick ") + pick(random_, kDoubleClicks);
    if (roll < 880) {
        static constexpr std::array<int, 8> kCodes = {512, 513, 514, 515, 516, 517, 518, 515};
        const long long code = random_.chance(15) ? static_cast<long long>(random_.below(70000)) - 1000
                                                  : pick(random_, kCodes);
        return "tray " + std::to_string(code);
    }
    if (roll < 920) {
        static constexpr std::array<int, 8> kSizes = {0, 1, 300, 1800, 4080, 4065, 12000, 150000};
        auto size = [&] {
            return random_.chance(50) ? pick(random_, kSizes) : static_cast<int>(random_.below(20000));
        };
        const int width = size();
        return "resize " + std::to_string(width) + " " + std::to_string(size());
    }
    if (roll < 945) return random_.chance(50) ? "minimize" : "restore";
    if (roll < 960) return std::string("twips-per-pixel ") + pick(random_, kTpp);
    if (roll < 975) return std::string("msgbox-hold ") + pick(random_, kHolds);
    if (roll < 985) return "close frmAbout";
    if (roll < 987) return "close frmMain";
    return "advance 100";
}

}  // namespace qx::soak
