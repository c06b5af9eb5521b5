#include "platform/linux/commit_check.h"

#include <algorithm>

#include "platform/generic/figure_rules.h"

namespace qx::linuxos {

namespace {

using generic::saturatingAdd;
using generic::saturatingSub;

struct TightestLimit {
    std::uint64_t room;
    FreeingLimit limit;
};

// The room each limit leaves, with the reserve kept, and the limit that
// leaves the least; the earlier limit on a tie.
TightestLimit tightestLimit(const FreeingFigures& figures) {
    const std::uint64_t reserve = freeingReserve(figures.memTotal);
    TightestLimit tightest{
        saturatingSub(saturatingAdd(figures.memAvailable, usableSwap(figures)), reserve),
        FreeingLimit::Memory};
    const auto consider = [&](FreeingLimit limit, std::uint64_t room) {
        if (room < tightest.room) tightest = {room, limit};
    };
    if (figures.strictOvercommit) {
        consider(FreeingLimit::CommitLimit,
                 saturatingSub(saturatingSub(figures.commitLimit, figures.committedAs), reserve));
    }
    if (figures.addressRoom != kNoLimit) {
        consider(FreeingLimit::AddressSpace, saturatingSub(figures.addressRoom, kBlockAlignment));
    }
    if (figures.cgroupRoom != kNoLimit) {
        consider(FreeingLimit::ControlGroup, saturatingSub(figures.cgroupRoom, reserve));
    }
    return tightest;
}

}  // namespace

std::uint64_t usableSwap(const FreeingFigures& figures) {
    const std::uint64_t zram = std::min(figures.zramSwapFree, figures.swapFree);
    const std::uint64_t counted = figures.swapFree - zram / 2 - zram % 2;
    return saturatingSub(counted, figures.swapTotal / 8);
}

std::uint64_t roomForBlock(const FreeingFigures& figures) { return tightestLimit(figures).room; }

bool blockFits(const FreeingFigures& figures, std::uint64_t bytes) {
    return bytes <= roomForBlock(figures);
}

FreeingLimit refusingLimit(const FreeingFigures& figures, std::uint64_t bytes) {
    const TightestLimit tightest = tightestLimit(figures);
    return bytes <= tightest.room ? FreeingLimit::None : tightest.limit;
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

}  // namespace qx::linuxos
