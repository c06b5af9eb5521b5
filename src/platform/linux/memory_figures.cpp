#include "platform/linux/memory_figures.h"

#include <algorithm>
#include <limits>

#include "platform/generic/figure_rules.h"

namespace qx::linuxos {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

using generic::saturatingAdd;
using generic::saturatingSub;

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
            : saturatingAdd(saturatingAdd(values.memFree, values.buffers), values.cached);
    availPhys = std::min(availPhys, values.memTotal);

    std::uint64_t totalPageFile;
    std::uint64_t availPageFile;
    if (strictOvercommit) {
        totalPageFile = values.commitLimit;
        availPageFile = saturatingSub(values.commitLimit, values.committedAs);
    } else {
        totalPageFile = saturatingAdd(values.memTotal, values.swapTotal);
        availPageFile = std::min(saturatingAdd(availPhys, values.swapFree), totalPageFile);
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
    space.available = saturatingSub(space.total, mapped);
    return space;
}

MemoryStatus legacyStatus(const SysinfoCounts& counts, const AddressSpace& space) {
    const std::uint64_t unit = counts.memUnit;
    const std::uint64_t totalRam = multiplySaturating(counts.totalram, unit);
    const std::uint64_t freeRam = saturatingAdd(multiplySaturating(counts.freeram, unit),
                                                multiplySaturating(counts.bufferram, unit));
    const std::uint64_t totalSwap = multiplySaturating(counts.totalswap, unit);
    const std::uint64_t freeSwap = multiplySaturating(counts.freeswap, unit);

    return generic::capToLegacy({totalRam, freeRam, saturatingAdd(totalRam, totalSwap),
                                 saturatingAdd(freeRam, freeSwap), space.total, space.available});
}

}  // namespace qx::linuxos
