#include "platform/linux/cpu_times.h"

#include <algorithm>
#include <limits>

namespace qx {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t kHundredNsPerSecond = 10'000'000;

std::uint64_t addSaturating(std::uint64_t a, std::uint64_t b) {
    return a > kMax - b ? kMax : a + b;
}

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
    return addSaturating(seconds * kHundredNsPerSecond, fraction);
}

SystemTimes systemTimesFromTicks(const CpuTicks& ticks, std::uint64_t ticksPerSecond) {
    const std::uint64_t idle = addSaturating(ticks.idle, ticks.iowait);
    std::uint64_t kernel = addSaturating(ticks.system, ticks.irq);
    kernel = addSaturating(kernel, ticks.softirq);
    kernel = addSaturating(kernel, ticks.steal);
    kernel = addSaturating(kernel, idle);
    const std::uint64_t user = addSaturating(ticks.user, ticks.nice);

    SystemTimes times;
    times.idle = ticksToHundredNs(idle, ticksPerSecond);
    times.kernel = ticksToHundredNs(kernel, ticksPerSecond);
    times.user = ticksToHundredNs(user, ticksPerSecond);
    return times;
}

SystemTimes NonDecreasingTimes::next(const SystemTimes& read) {
    highest_.idle = std::max(highest_.idle, read.idle);
    highest_.kernel = std::max(highest_.kernel, read.kernel);
    highest_.user = std::max(highest_.user, read.user);
    return highest_;
}

}  // namespace qx
