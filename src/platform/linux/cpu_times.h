// Turns /proc/stat tick counts into the processor times the program reports.
#pragma once

#include <cstdint>

#include "platform/linux/proc_stat_parser.h"
#include "platform/system.h"

namespace qx::linuxos {

// `ticks` at `ticksPerSecond` (USER_HZ) in 100-ns units, saturating at the
// largest 64-bit count. A rate of zero gives zero.
std::uint64_t ticksToHundredNs(std::uint64_t ticks, std::uint64_t ticksPerSecond);

// idle   = idle + iowait
// kernel = system + irq + softirq + steal + idle + iowait  (idle included)
// user   = user + nice
// Sums saturate rather than wrap.
SystemTimes systemTimesFromTicks(const CpuTicks& ticks, std::uint64_t ticksPerSecond);

}  // namespace qx::linuxos
