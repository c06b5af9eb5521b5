#include "platform/linux/cpu_times.h"

#include <limits>

#include "platform/generic/figure_rules.h"

namespace qx::linuxos {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kHundredNsPerSecond = 10'000'000;

using generic::saturatingAdd;

}  // namespace

std::uint64_t ticksToHundredNs(std::uint64_t ticks, std::uint64_t ticksPerSecond) {
    if (ticksPerSecond == 0) return 0;
    // Whole seconds and the remainder separately, so that nothing overflows
    // before the result itself would.
    const std::uint64_t seconds = ticks / ticksPerSecond;
    const std::uint64_t remainder = ticks % ticksPerSecond;
    if (seconds > kMax / kHundredNsPerSecond) return kMax;
    std::uint64_t fraction;
    if (remainder <= kMax / kHundredNsPerSecond) {
        fraction = remainder * kHundredNsPerSecond / ticksPerSecond;
    } else {  // only with absurd tick rates above 1.8e12 per second
        fraction = static_cast<std::uint64_t>(static_cast<long double>(remainder) *
                                              kHundredNsPerSecond / ticksPerSecond);
    }
    return saturatingAdd(seconds * kHundredNsPerSecond, fraction);
}

SystemTimes systemTimesFromTicks(const CpuTicks& ticks, std::uint64_t ticksPerSecond) {
    const std::uint64_t idle = saturatingAdd(ticks.idle, ticks.iowait);
    std::uint64_t kernel = saturatingAdd(ticks.system, ticks.irq);
    kernel = saturatingAdd(kernel, ticks.softirq);
    kernel = saturatingAdd(kernel, ticks.steal);
    kernel = saturatingAdd(kernel, idle);
    const std::uint64_t user = saturatingAdd(ticks.user, ticks.nice);

    SystemTimes times;
    times.idle = ticksToHundredNs(idle, ticksPerSecond);
    times.kernel = ticksToHundredNs(kernel, ticksPerSecond);
    times.user = ticksToHundredNs(user, ticksPerSecond);
    return times;
}

}  // namespace qx::linuxos
