#include "platform/win32/freeing_plan.h"

#include <algorithm>

#include "platform/generic/figure_rules.h"

namespace qx::win32 {

namespace {

constexpr std::uint64_t kAllocationUnit = std::uint64_t{64} << 10;

using generic::saturatingAdd;
using generic::saturatingSub;

}  // namespace

std::uint64_t roomForBlock(const MemoryStatusEx& figures) {
    const std::uint64_t reserve = freeingReserve(figures.totalPhys);
    const std::uint64_t pageFiles = saturatingSub(figures.totalPageFile, figures.totalPhys);
    const std::uint64_t physicalAndPageFiles = saturatingAdd(figures.availPhys, pageFiles);
    return saturatingSub(std::min(physicalAndPageFiles, figures.availPageFile), reserve);
}

std::uint64_t bytesToHold(std::uint64_t bytes, std::uint64_t availVirtual) {
    const std::uint64_t room = saturatingSub(availVirtual, kAddressReserve) / kAllocationUnit * kAllocationUnit;
    return std::min(bytes, room);
}

std::uint64_t firstPieceBytes(std::uint64_t bytes, bool wideAddressSpace) {
    return wideAddressSpace ? bytes : std::min(bytes, kLargestPiece32);
}


}  // namespace qx::win32
