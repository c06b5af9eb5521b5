// Rules on memory and processor figures that every OS layer shares: sums
// and differences of byte counts that stop at the ends of the range instead
// of wrapping, the 32-bit cap of the legacy status, and processor times that
// never run backwards.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/system.h"

namespace qx::generic {

// a + b, or the largest 64-bit count when that doesn't fit.
constexpr std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    return a > kMax - b ? kMax : a + b;
}

// a - b, or zero when b is the larger.
constexpr std::uint64_t saturatingSub(std::uint64_t a, std::uint64_t b) {
    return a > b ? a - b : 0;
}

// A count as the legacy (32-bit) memory status holds it: anything from
// 4 GiB up reads 4,294,967,295, as the legacy call reports memory beyond it.
constexpr std::uint32_t legacyFigure(std::uint64_t count) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::min(count, kMax));
}

// The legacy status of `status`: the same figures, each by legacyFigure.
constexpr MemoryStatus capToLegacy(const MemoryStatusEx& status) {
    MemoryStatus legacy;
    legacy.totalPhys = legacyFigure(status.totalPhys);
    legacy.availPhys = legacyFigure(status.availPhys);
    legacy.totalPageFile = legacyFigure(status.totalPageFile);
    legacy.availPageFile = legacyFigure(status.availPageFile);
    legacy.totalVirtual = legacyFigure(status.totalVirtual);
    legacy.availVirtual = legacyFigure(status.availVirtual);
    return legacy;
}

// Keeps reported times from going backwards: a counter read lower than
// before (Linux's iowait is an estimate that can shrink between two reads,
// taking idle and kernel time down with it) is reported at the value it had
// before, until the real count passes it again.
class NonDecreasingTimes {
public:
    SystemTimes next(const SystemTimes& read) {
        highest_.idle = std::max(highest_.idle, read.idle);
        highest_.kernel = std::max(highest_.kernel, read.kernel);
        highest_.user = std::max(highest_.user, read.user);
        return highest_;
    }

private:
    SystemTimes highest_;
};

}  // namespace qx::generic
