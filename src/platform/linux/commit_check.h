// Whether a block of memory can be taken without anything being killed for
// it. Pure arithmetic on figures gathered elsewhere (freeing_figures.h).
#pragma once

#include <cstdint>
#include <limits>

#include "platform/freeing_rules.h"

namespace qx::linuxos {

inline constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

// Each worker aligns its part of the block to a 2 MiB huge page and maps
// this much more address space to be able to.
inline constexpr std::uint64_t kBlockAlignment = std::uint64_t{2} << 20;

// What the system can give, in bytes.
struct FreeingFigures {
    std::uint64_t memTotal = 0;
    // MemAvailable: what can be had without swapping, page cache included.
    std::uint64_t memAvailable = 0;
    std::uint64_t swapTotal = 0;
    std::uint64_t swapFree = 0;
    // The part of swapFree on zram, i.e. compressed in RAM itself.
    std::uint64_t zramSwapFree = 0;
    // overcommit_memory is 2: every private writable mapping is charged
    // against CommitLimit and allocations fail past it.
    bool strictOvercommit = false;
    std::uint64_t commitLimit = 0;
    std::uint64_t committedAs = 0;
    // RLIMIT_AS less what the process has mapped already.
    std::uint64_t addressRoom = kNoLimit;
    // The tightest memory limit less usage among the process's cgroups.
    std::uint64_t cgroupRoom = kNoLimit;
};

// The reserve kept for everything else is freeingReserve (freeing_rules.h).

// Swap the block may push other programs into: SwapFree, with zram counted
// at half (what goes there is compressed, about 2:1 or better, but still
// takes RAM), less an eighth of SwapTotal kept free. systemd-oomd kills a
// whole cgroup once swap is 90% used, so swap is never filled to the brim.
std::uint64_t usableSwap(const FreeingFigures& figures);

// The largest block, in bytes, that fits every limit with the reserve kept.
std::uint64_t roomForBlock(const FreeingFigures& figures);

bool blockFits(const FreeingFigures& figures, std::uint64_t bytes);

// The limits a block must fit, for saying which one refused it.
enum class FreeingLimit { None, Memory, CommitLimit, AddressSpace, ControlGroup };

// The limit that leaves the least room (as roomForBlock counts it) when that
// is less than `bytes`; None when the block fits.
FreeingLimit refusingLimit(const FreeingFigures& figures, std::uint64_t bytes);

// What the limit is called for the user: "the commit limit (CommitLimit less
// Committed_AS)", ...
const char* freeingLimitName(FreeingLimit limit);

}  // namespace qx::linuxos
