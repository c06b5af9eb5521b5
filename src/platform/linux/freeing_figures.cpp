#include "platform/linux/freeing_figures.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include <sys/resource.h>
#include <unistd.h>

#include "platform/generic/figure_rules.h"
#include "platform/linux/freeing_text.h"
#include "platform/linux/leading_number.h"
#include "platform/linux/meminfo_parser.h"
#include "platform/linux/proc_file.h"

namespace qx::linuxos {

namespace {

constexpr std::uint64_t kKiB = 1024;

// All the files read here are a few kB at most.
using TextBuffer = std::array<char, 16384>;

std::string_view readText(const char* path, TextBuffer& buffer) {
    return ProcFile(path).read(buffer.data(), buffer.size());
}

bool readStrictOvercommit() {
    TextBuffer buffer;
    std::uint64_t mode = 0;
    // Unreadable counts as the default heuristic mode: in strict mode the
    // workers' mmap() fails cleanly anyway, it can't get anything killed.
    return parseLeadingNumber(readText("/proc/sys/vm/overcommit_memory", buffer), mode) &&
           mode == 2;
}

std::uint64_t readAddressRoom() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kNoLimit;
    TextBuffer buffer;
    std::uint64_t pages = 0;
    if (!parseLeadingNumber(readText("/proc/self/statm", buffer), pages)) return limit.rlim_cur;
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const std::uint64_t mapped = pages * static_cast<std::uint64_t>(pageSize > 0 ? pageSize : 4096);
    return generic::saturatingSub(limit.rlim_cur, mapped);
}

std::optional<std::uint64_t> readCgroupBytes(const std::string& path) {
    TextBuffer buffer;
    return parseCgroupBytes(readText(path.c_str(), buffer));
}

// The tightest limit less usage from the cgroup at `path` up to the root of
// the hierarchy mounted at `mount`. Levels without the files are skipped.
std::uint64_t cgroupRoom(std::string_view mount, std::optional<std::string_view> path,
                         std::string_view limitFile, std::string_view usageFile) {
    std::uint64_t room = kNoLimit;
    for (; path; path = parentCgroup(*path)) {
        std::string dir(mount);
        dir += *path;
        if (dir.back() != '/') dir += '/';
        const auto limit = readCgroupBytes(dir + std::string(limitFile));
        if (!limit || *limit == kNoLimit) continue;
        const auto usage = readCgroupBytes(dir + std::string(usageFile));
        if (!usage) continue;
        room = std::min(room, generic::saturatingSub(*limit, *usage));
    }
    return room;
}

std::uint64_t readCgroupRoom() {
    TextBuffer buffer;
    const std::string_view text = readText("/proc/self/cgroup", buffer);
    if (text.empty()) return kNoLimit;
    const auto unified = unifiedCgroupPath(text);
    const auto memory = memoryCgroupPath(text);
    std::uint64_t room = kNoLimit;
    if (unified) {
        // cgroup2 sits at /sys/fs/cgroup, or at .../unified on hybrid systems.
        for (std::string_view mount : {"/sys/fs/cgroup", "/sys/fs/cgroup/unified"}) {
            room = std::min(room, cgroupRoom(mount, unified, "memory.max", "memory.current"));
        }
    }
    if (memory) {
        room = std::min(room, cgroupRoom("/sys/fs/cgroup/memory", memory,
                                         "memory.limit_in_bytes", "memory.usage_in_bytes"));
    }
    return room;
}

}  // namespace

bool readFreeingFigures(FreeingFigures& figures) {
    TextBuffer buffer;
    MeminfoValues meminfo;
    if (!parseMeminfo(readText("/proc/meminfo", buffer), meminfo)) return false;

    FreeingFigures read;
    read.memTotal = meminfo.memTotal * kKiB;
    // Kernels before 3.14 have no estimate; free memory alone is the safe side.
    read.memAvailable = (meminfo.hasMemAvailable ? meminfo.memAvailable : meminfo.memFree) * kKiB;
    read.swapTotal = meminfo.swapTotal * kKiB;
    read.swapFree = meminfo.swapFree * kKiB;
    // /proc/swaps is read a moment after /proc/meminfo: its zram share is
    // held to the swap free that /proc/meminfo had, so the figures agree.
    read.zramSwapFree = std::min(
        parseZramSwapFree(readText("/proc/swaps", buffer)).value_or(read.swapFree), read.swapFree);
    read.strictOvercommit = readStrictOvercommit();
    if (read.strictOvercommit) {
        // Without the figures strict accounting can't be checked: no room.
        read.commitLimit = meminfo.hasCommitValues ? meminfo.commitLimit * kKiB : 0;
        read.committedAs = meminfo.hasCommitValues ? meminfo.committedAs * kKiB : 0;
    }
    read.addressRoom = readAddressRoom();
    read.cgroupRoom = readCgroupRoom();
    figures = read;
    return true;
}

}  // namespace qx::linuxos
