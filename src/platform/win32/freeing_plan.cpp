#include "platform/win32/freeing_plan.h"

#include <algorithm>

namespace qx::win32 {

namespace {

constexpr std::uint64_t kAllocationUnit = std::uint64_t{64} << 10;

std::uint64_t less(std::uint64_t a, std::uint64_t b) { return a > b ? a - b : 0; }

}  // namespace

std::uint64_t roomForBlock(const FreeingFigures& figures) {
    const std::uint64_t reserve = freeingReserve(figures.totalPhys);
    const std::uint64_t pageFiles = less(figures.totalPageFile, figures.totalPhys);
    const std::uint64_t physicalAndPageFiles =
        figures.availPhys > UINT64_MAX - pageFiles ? UINT64_MAX : figures.availPhys + pageFiles;
    return less(std::min(physicalAndPageFiles, figures.availPageFile), reserve);
}

std::uint64_t bytesToHold(std::uint64_t bytes, std::uint64_t availVirtual) {
    const std::uint64_t room = less(availVirtual, kAddressReserve) / kAllocationUnit * kAllocationUnit;
    return std::min(bytes, room);
}

std::uint64_t firstPieceBytes(std::uint64_t bytes, bool wideAddressSpace) {
    return wideAddressSpace ? bytes : std::min(bytes, kLargestPiece32);
}


}  // namespace qx::win32
