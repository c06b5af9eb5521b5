// Turns /proc/stat tick counts into the processor times the program reports.
#pragma once

#include <cstdint>

#include "platform/linux/proc_stat_parser.h"
#include "platform/system.h"

namespace qx {

// `ticks` at `ticksPerSecond` (USER_HZ) in 100-ns units, saturating at the
// largest 64-bit count. A rate of zero gives zero.
std::uint64_t ticksToHundredNs(std::uint64_t ticks, std::uint64_t ticksPerSecond);

// idle   = idle + iowait
// kernel = system + irq + softirq + steal + idle + iowait  (idle included)
// user   = user + nice
// Sums saturate rather than wrap.
SystemTimes systemTimesFromTicks(const CpuTicks& ticks, std::uint64_t ticksPerSecond);

// Keeps reported times from going backwards. The kernel's iowait is an
// estimate that can shrink between two reads, taking idle and kernel time
// down with it; a counter that went down is reported at the value it had
// before, until the real count passes it again.
class NonDecreasingTimes {
public:
    SystemTimes next(const SystemTimes& read);

private:
    SystemTimes highest_;
};

}  // namespace qx
