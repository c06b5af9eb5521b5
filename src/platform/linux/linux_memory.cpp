#include "platform/linux/linux_memory.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <time.h>
#include <unistd.h>

#include "platform/linux/leading_number.h"
#include "platform/linux/meminfo_parser.h"
#include "platform/linux/proc_stat_parser.h"

namespace qx::linuxos {

namespace {

constexpr std::size_t kSmallFileBuffer = 64;  // statm, overcommit_memory

// Checking overcommit_memory and RLIMIT_AS costs two system calls, about
// 1.2 us together against 11-12 us for the unavoidable reads of meminfo and
// stat; done on every call they took a sample from 1.15-1.2 to 1.3 times that
// floor (bench/sampling). Both change only when someone reconfigures the
// machine, and the display is redrawn about once a second, so a setting up to
// a second old goes unseen.
constexpr std::int64_t kSettingsLifetimeMs = 1000;

std::uint64_t positiveSysconf(int name, long fallback) {
    const long value = ::sysconf(name);
    return static_cast<std::uint64_t>(value > 0 ? value : fallback);
}

// The coarse clock is served without entering the kernel and its few
// milliseconds of granularity are plenty for a one-second lifetime.
std::int64_t monotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// The RLIMIT_AS soft limit in bytes; all ones (no limit) when unset.
std::uint64_t addressSpaceLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return ~std::uint64_t{0};
    }
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

}  // namespace

LinuxMemory::LinuxMemory(const ProcPaths& paths)
    : meminfo_(paths.meminfo),
      stat_(paths.stat),
      statm_(paths.statm),
      overcommit_(paths.overcommit),
      pageSize_(positiveSysconf(_SC_PAGESIZE, 4096)),
      ticksPerSecond_(positiveSysconf(_SC_CLK_TCK, 100)) {}

bool LinuxMemory::refreshSettings() {
    const std::int64_t now = monotonicMs();
    if (settings_.valid && now - settings_.readAtMs < kSettingsLifetimeMs) return true;

    char buffer[kSmallFileBuffer];
    std::uint64_t mode = 0;
    if (!parseLeadingNumber(overcommit_.read(buffer, sizeof buffer), mode)) {
        settings_.valid = false;
        return false;
    }
    settings_.strictOvercommit = mode == 2;
    settings_.addressSpaceLimit = addressSpaceLimit();
    settings_.readAtMs = now;
    settings_.valid = true;
    return true;
}

bool LinuxMemory::readMappedBytes(std::uint64_t& bytes) const {
    char buffer[kSmallFileBuffer];
    std::uint64_t pages = 0;
    if (!parseLeadingNumber(statm_.read(buffer, sizeof buffer), pages)) return false;
    if (pages > ~std::uint64_t{0} / pageSize_) return false;
    bytes = pages * pageSize_;
    return true;
}

bool LinuxMemory::globalMemoryStatusEx(MemoryStatusEx& status) {
    if (!refreshSettings()) return false;

    char buffer[kMeminfoBufferSize];
    MeminfoValues values;
    if (!parseMeminfo(meminfo_.read(buffer, sizeof buffer), values)) return false;

    std::uint64_t mapped = 0;
    if (!readMappedBytes(mapped)) return false;

    MemoryStatusEx result;
    if (!setFromMeminfo(values, settings_.strictOvercommit, result)) return false;
    const AddressSpace space = addressSpace(settings_.addressSpaceLimit, kUserAddressSpace, mapped);
    result.totalVirtual = space.total;
    result.availVirtual = space.available;
    status = result;
    return true;
}

void LinuxMemory::globalMemoryStatus(MemoryStatus& status) {
    struct sysinfo info {};
    if (::sysinfo(&info) != 0) {
        status = MemoryStatus{};
        return;
    }
    SysinfoCounts counts;
    counts.totalram = info.totalram;
    counts.freeram = info.freeram;
    counts.bufferram = info.bufferram;
    counts.totalswap = info.totalswap;
    counts.freeswap = info.freeswap;
    counts.memUnit = info.mem_unit;

    std::uint64_t mapped = 0;
    const bool haveMapped = readMappedBytes(mapped);
    AddressSpace space = addressSpace(addressSpaceLimit(), kUserAddressSpace, mapped);
    if (!haveMapped) space.available = 0;
    status = legacyStatus(counts, space);
}

bool LinuxMemory::getSystemTimes(SystemTimes& times) {
    char buffer[kStatBufferSize];
    CpuTicks ticks;
    if (!parseCpuLine(stat_.read(buffer, sizeof buffer), ticks)) return false;
    times = times_.next(systemTimesFromTicks(ticks, ticksPerSecond_));
    return true;
}

}  // namespace qx::linuxos
