#include "platform/linux/proc_stat_parser.h"

#include <charconv>

namespace qx::linuxos {

bool parseCpuLine(std::string_view text, CpuTicks& ticks) {
    constexpr std::string_view kPrefix = "cpu ";
    if (text.substr(0, kPrefix.size()) != kPrefix) return false;
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos) return false;

    std::uint64_t* const slots[] = {&ticks.user,   &ticks.nice, &ticks.system,  &ticks.idle,
                                    &ticks.iowait, &ticks.irq,  &ticks.softirq, &ticks.steal};
    constexpr std::size_t kSlotCount = sizeof(slots) / sizeof(slots[0]);
    constexpr std::size_t kMinimumFields = 4;
    std::uint64_t fields[kSlotCount] = {};
    std::size_t count = 0;

    const char* p = text.data() + kPrefix.size();
    const char* const end = text.data() + newline;
    while (true) {
        while (p != end && *p == ' ') ++p;
        if (p == end) break;
        std::uint64_t value = 0;
        const auto [after, error] = std::from_chars(p, end, value);
        if (error != std::errc{} || after == p) return false;
        if (after != end && *after != ' ') return false;
        if (count < kSlotCount) fields[count] = value;
        ++count;
        p = after;
    }
    if (count < kMinimumFields) return false;
    for (std::size_t i = 0; i < kSlotCount; ++i) *slots[i] = fields[i];
    return true;
}

}  // namespace qx::linuxos
