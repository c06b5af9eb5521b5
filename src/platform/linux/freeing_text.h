// Reads the kernel texts the freeing check needs besides /proc/meminfo:
// /proc/swaps, /proc/self/cgroup and cgroup memory files. Nothing here reads
// the system; freeing_figures.cpp does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qx::linuxos {

// Free bytes on zram swap devices (/dev/zram*) in the text of /proc/swaps:
// "Filename Type Size Used Priority" and a line per device, sizes in KiB.
// Empty when the heading is missing or a device line can't be read.
std::optional<std::uint64_t> parseZramSwapFree(std::string_view procSwaps);

// The cgroup v2 path in the text of /proc/self/cgroup: the "0::<path>" line.
std::optional<std::string_view> unifiedCgroupPath(std::string_view procSelfCgroup);

// The cgroup v1 path of the memory controller: the "<n>:<list>:<path>" line
// whose comma-separated list holds "memory".
std::optional<std::string_view> memoryCgroupPath(std::string_view procSelfCgroup);

// The path one level up: "/a/b" gives "/a", "/a" gives "/", "/" gives none.
std::optional<std::string_view> parentCgroup(std::string_view path);

// A cgroup memory figure: a decimal number of bytes, or "max" (no limit,
// kNoLimit), with or without the trailing newline.
std::optional<std::uint64_t> parseCgroupBytes(std::string_view text);

}  // namespace qx::linuxos
