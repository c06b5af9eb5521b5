// Memory status and processor times of a Linux machine, read from /proc.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/generic/figure_rules.h"
#include "platform/linux/cpu_times.h"
#include "platform/linux/memory_figures.h"
#include "platform/linux/proc_file.h"
#include "platform/system.h"

namespace qx::linuxos {

// Where the kernel files are read from. Tests point these at files of their
// own; the strings must outlive the LinuxMemory built from them.
struct ProcPaths {
    const char* meminfo = "/proc/meminfo";
    const char* stat = "/proc/stat";
    const char* statm = "/proc/self/statm";
    const char* overcommit = "/proc/sys/vm/overcommit_memory";
};

// Keeps the files open and re-reads them into stack buffers: no query
// allocates, and a sample skips two opens and closes (about 40% of its cost).
// /proc/self is resolved at construction, so an instance belongs to the
// process that made it. Not for use from several threads at once.
class LinuxMemory final : public MemorySystem {
public:
    // /proc/meminfo is about 1.5 kB and every value used sits in its first 40
    // lines; a longer text is cut off cleanly (see parseMeminfo).
    static constexpr std::size_t kMeminfoBufferSize = 4096;
    // Only the first line of /proc/stat is used: "cpu" and ten numbers of at
    // most 20 digits. The kernel builds the whole file whatever is asked for.
    static constexpr std::size_t kStatBufferSize = 512;

    LinuxMemory() : LinuxMemory(ProcPaths{}) {}
    explicit LinuxMemory(const ProcPaths& paths);

    // From /proc/meminfo, /proc/sys/vm/overcommit_memory, RLIMIT_AS and
    // /proc/self/statm. False, leaving `status` alone, when any of them can't
    // be read or makes no sense.
    bool globalMemoryStatusEx(MemoryStatusEx& status) override;
    // From sysinfo(2), each count saturated at 4,294,967,295. All zero if
    // sysinfo fails; availVirtual zero if /proc/self/statm can't be read.
    void globalMemoryStatus(MemoryStatus& status) override;
    // From the "cpu" line of /proc/stat; never lower than the last report.
    // False, leaving `times` alone, when the line can't be read.
    bool getSystemTimes(SystemTimes& times) override;

private:
    // Settings that an administrator changes, not the load: read again at
    // most once a second.
    struct Settings {
        bool strictOvercommit = false;
        std::uint64_t addressSpaceLimit = 0;  // RLIMIT_AS, all ones when unset
        std::int64_t readAtMs = 0;
        bool valid = false;
    };

    bool refreshSettings();
    bool readMappedBytes(std::uint64_t& bytes) const;

    ProcFile meminfo_;
    ProcFile stat_;
    ProcFile statm_;
    ProcFile overcommit_;
    std::uint64_t pageSize_;
    std::uint64_t ticksPerSecond_;
    Settings settings_;
    generic::NonDecreasingTimes times_;
};

}  // namespace qx::linuxos
