// The freeing rules every platform shares: how much memory a block leaves
// alone for everything else, and how long a block may take to be made.
// Plain arithmetic on byte counts.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qx {

// Memory left alone for everything else that runs while the block is made:
// max(256 MiB, a 32nd of physical memory), i.e. 768 MiB on 24 GiB. It covers
// the available figure being an estimate (part of the cache it counts may be
// hot or dirty and slow to reclaim), the rest of the system allocating
// meanwhile, and the system's own needs under pressure. The floor is for
// small machines, where a few hundred MiB is what a desktop session takes
// from one second to the next.
constexpr std::uint64_t freeingReserve(std::uint64_t physicalBytes) {
    return std::max<std::uint64_t>(std::uint64_t{256} << 20, physicalBytes / 32);
}

// How long a block of `bytes` may take to be made before the run gives up
// on it: 10 s, and 2 s more per GiB begun. Written at even 1 GB/s, 1 GiB
// takes one of those seconds. Past a million GiB the deadline grows no more.
constexpr std::int64_t blockDeadlineMs(std::uint64_t bytes) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    const std::uint64_t gibibytes = bytes / kGiB + (bytes % kGiB != 0 ? 1 : 0);
    return 10000 + 2000 * static_cast<std::int64_t>(std::min<std::uint64_t>(gibibytes, std::uint64_t{1} << 20));
}

}  // namespace qx
