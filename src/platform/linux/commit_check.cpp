#include "platform/linux/commit_check.h"

#include <algorithm>

namespace qx {

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

std::uint64_t less(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : 0; }

std::uint64_t plus(std::uint64_t a, std::uint64_t b) {
    return a > kNoLimit - b ? kNoLimit : a + b;
}

}  // namespace

std::uint64_t freeingReserve(std::uint64_t memTotal) {
    return std::max<std::uint64_t>(256 * kMiB, memTotal / 32);
}

std::uint64_t usableSwap(const FreeingFigures& figures) {
    const std::uint64_t zram = std::min(figures.zramSwapFree, figures.swapFree);
    const std::uint64_t counted = figures.swapFree - zram / 2 - zram % 2;
    return less(counted, figures.swapTotal / 8);
}

std::uint64_t roomForBlock(const FreeingFigures& figures) {
    const std::uint64_t reserve = freeingReserve(figures.memTotal);
    std::uint64_t room = less(plus(figures.memAvailable, usableSwap(figures)), reserve);
    if (figures.strictOvercommit) {
        room = std::min(room, less(less(figures.commitLimit, figures.committedAs), reserve));
    }
    if (figures.addressRoom != kNoLimit) {
        room = std::min(room, less(figures.addressRoom, kBlockAlignment));
    }
    if (figures.cgroupRoom != kNoLimit) {
        room = std::min(room, less(figures.cgroupRoom, reserve));
    }
    return room;
}

bool blockFits(const FreeingFigures& figures, std::uint64_t bytes) {
    return bytes <= roomForBlock(figures);
}

}  // namespace qx
