#include "platform/linux/commit_check.h"

#include <algorithm>

namespace qx {

namespace {

std::uint64_t less(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : 0; }

std::uint64_t plus(std::uint64_t a, std::uint64_t b) {
    return a > kNoLimit - b ? kNoLimit : a + b;
}

}  // namespace

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

FreeingLimit refusingLimit(const FreeingFigures& figures, std::uint64_t bytes) {
    if (blockFits(figures, bytes)) return FreeingLimit::None;
    const std::uint64_t reserve = freeingReserve(figures.memTotal);
    FreeingLimit tightest = FreeingLimit::Memory;
    std::uint64_t room = less(plus(figures.memAvailable, usableSwap(figures)), reserve);
    const auto consider = [&](FreeingLimit limit, std::uint64_t itsRoom) {
        if (itsRoom < room) {
            room = itsRoom;
            tightest = limit;
        }
    };
    if (figures.strictOvercommit) {
        consider(FreeingLimit::CommitLimit,
                 less(less(figures.commitLimit, figures.committedAs), reserve));
    }
    if (figures.addressRoom != kNoLimit) {
        consider(FreeingLimit::AddressSpace, less(figures.addressRoom, kBlockAlignment));
    }
    if (figures.cgroupRoom != kNoLimit) {
        consider(FreeingLimit::ControlGroup, less(figures.cgroupRoom, reserve));
    }
    return tightest;
}

const char* freeingLimitName(FreeingLimit limit) {
    switch (limit) {
        case FreeingLimit::None: return "no limit";
        case FreeingLimit::Memory: return "the memory available (MemAvailable and free swap)";
        case FreeingLimit::CommitLimit: return "the commit limit (CommitLimit less Committed_AS)";
        case FreeingLimit::AddressSpace: return "the address-space limit (RLIMIT_AS)";
        case FreeingLimit::ControlGroup: return "the control group's memory limit";
    }
    return "no limit";
}

}  // namespace qx
