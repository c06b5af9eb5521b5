#include "platform/linux/memory_figures.h"

#include <algorithm>
#include <limits>

namespace qx {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t addSaturating(std::uint64_t a, std::uint64_t b) {
    return a > kMax - b ? kMax : a + b;
}

std::uint64_t multiplySaturating(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > kMax / b ? kMax : a * b;
}

std::uint64_t kilobytesToBytes(std::uint64_t kilobytes) {
    return multiplySaturating(kilobytes, 1024);
}

}  // namespace

bool setFromMeminfo(const MeminfoValues& values, bool strictOvercommit, MemoryStatusEx& status) {
    if (strictOvercommit && !values.hasCommitValues) return false;

    // All sums in kB first and converted once, so the caps compare like with like.
    std::uint64_t availPhys =
        values.hasMemAvailable
            ? values.memAvailable
            : addSaturating(addSaturating(values.memFree, values.buffers), values.cached);
    availPhys = std::min(availPhys, values.memTotal);

    std::uint64_t totalPageFile;
    std::uint64_t availPageFile;
    if (strictOvercommit) {
        totalPageFile = values.commitLimit;
        availPageFile = values.committedAs < values.commitLimit
                            ? values.commitLimit - values.committedAs
                            : 0;
    } else {
        totalPageFile = addSaturating(values.memTotal, values.swapTotal);
        availPageFile = std::min(addSaturating(availPhys, values.swapFree), totalPageFile);
    }

    status.totalPhys = kilobytesToBytes(values.memTotal);
    status.availPhys = kilobytesToBytes(availPhys);
    status.totalPageFile = kilobytesToBytes(totalPageFile);
    status.availPageFile = kilobytesToBytes(availPageFile);
    return true;
}

AddressSpace addressSpace(std::uint64_t limit, std::uint64_t userSpace, std::uint64_t mapped) {
    AddressSpace space;
    space.total = std::min(limit, userSpace);
    space.available = mapped < space.total ? space.total - mapped : 0;
    return space;
}

std::uint32_t saturateToU32(std::uint64_t bytes) {
    constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::min(bytes, kLimit));
}

MemoryStatus legacyStatus(const SysinfoCounts& counts, const AddressSpace& space) {
    const std::uint64_t unit = counts.memUnit;
    const std::uint64_t totalRam = multiplySaturating(counts.totalram, unit);
    const std::uint64_t freeRam = addSaturating(multiplySaturating(counts.freeram, unit),
                                                multiplySaturating(counts.bufferram, unit));
    const std::uint64_t totalSwap = multiplySaturating(counts.totalswap, unit);
    const std::uint64_t freeSwap = multiplySaturating(counts.freeswap, unit);

    MemoryStatus status;
    status.totalPhys = saturateToU32(totalRam);
    status.availPhys = saturateToU32(freeRam);
    status.totalPageFile = saturateToU32(addSaturating(totalRam, totalSwap));
    status.availPageFile = saturateToU32(addSaturating(freeRam, freeSwap));
    status.totalVirtual = saturateToU32(space.total);
    status.availVirtual = saturateToU32(space.available);
    return status;
}

}  // namespace qx
