// Picks the values the memory status needs out of the text of /proc/meminfo.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::linuxos {

// The /proc/meminfo values used, in kB as the kernel writes them.
struct MeminfoValues {
    std::uint64_t memTotal = 0;
    std::uint64_t memFree = 0;
    std::uint64_t memAvailable = 0;
    std::uint64_t buffers = 0;
    std::uint64_t cached = 0;
    std::uint64_t swapTotal = 0;
    std::uint64_t swapFree = 0;
    std::uint64_t commitLimit = 0;
    std::uint64_t committedAs = 0;
    bool hasMemAvailable = false;   // kernels before 3.14 don't write it
    bool hasCommitValues = false;   // both CommitLimit and Committed_AS seen
};

// Fills `values` from the text and returns true, or returns false and leaves
// `values` alone when MemTotal, MemFree, Buffers, Cached, SwapTotal or
// SwapFree is missing, or when a line holding any value used is not
// "Key:  <decimal> kB". Because the unit comes after the number, a text cut
// off in the middle of a number fails instead of giving a smaller figure.
// Lines with other keys are skipped unread.
bool parseMeminfo(std::string_view text, MeminfoValues& values);

}  // namespace qx::linuxos
