// Gathers what the system can give for a freeing block.
#pragma once

#include "platform/linux/commit_check.h"

namespace qx::linuxos {

// Reads /proc/meminfo, /proc/sys/vm/overcommit_memory, /proc/swaps,
// RLIMIT_AS with /proc/self/statm, and the memory limits of the process's
// cgroups (v2 memory.max/memory.current, v1 memory.limit_in_bytes/
// memory.usage_in_bytes, from its own group up to the root). False when
// /proc/meminfo can't be read: without it nothing is known to fit. The other
// sources are optional and count as no limit when absent, except /proc/swaps,
// without which all free swap is taken to be zram. A cgroup's usage counts
// its page cache too, which the kernel would reclaim first: on the safe side.
bool readFreeingFigures(FreeingFigures& figures);

}  // namespace qx::linuxos
