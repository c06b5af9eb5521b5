// Reads the all-processor "cpu" line at the top of /proc/stat.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::linuxos {

// Time all processors together spent in each state, in USER_HZ ticks.
// Guest time is not listed: the kernel already counts it in user and nice.
struct CpuTicks {
    std::uint64_t user = 0;
    std::uint64_t nice = 0;
    std::uint64_t system = 0;
    std::uint64_t idle = 0;
    std::uint64_t iowait = 0;   // from Linux 2.6
    std::uint64_t irq = 0;      // from Linux 2.6
    std::uint64_t softirq = 0;  // from Linux 2.6
    std::uint64_t steal = 0;    // from Linux 2.6.11
};

// Fills `ticks` from a text whose first line is "cpu <user> <nice> <system>
// <idle> ..." ended by a newline, and returns true. Fields newer kernels add
// past the ones listed above are ignored; ones older kernels lack read as
// zero, but at least the first four must be there. Anything else (another
// first line, a non-number, no newline because the text was cut short)
// returns false and leaves `ticks` alone.
bool parseCpuLine(std::string_view text, CpuTicks& ticks);

}  // namespace qx::linuxos
