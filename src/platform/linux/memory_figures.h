// Works out the memory status figures from what the kernel reports. Nothing
// here reads the system; linux_memory.cpp gathers the inputs.
#pragma once

#include <cstdint>

#include "platform/linux/meminfo_parser.h"
#include "platform/system.h"

namespace qx::linuxos {

// Bytes of address space a user process has on this architecture, used when
// RLIMIT_AS doesn't set a smaller figure. These are the sizes the kernel hands
// out without a process asking for more (x86-64 with 5-level paging and
// arm64 with 52-bit addresses only map above them on explicit request).
#if defined(__x86_64__) && defined(__ILP32__)
inline constexpr std::uint64_t kUserAddressSpace = std::uint64_t{1} << 32;  // x32
#elif defined(__x86_64__) || defined(__powerpc64__) || (defined(__riscv) && __riscv_xlen == 64)
inline constexpr std::uint64_t kUserAddressSpace = std::uint64_t{1} << 47;  // 128 TiB
#elif defined(__aarch64__) || defined(__loongarch64)
inline constexpr std::uint64_t kUserAddressSpace = std::uint64_t{1} << 48;  // 256 TiB
#elif UINTPTR_MAX > 0xFFFFFFFFu
inline constexpr std::uint64_t kUserAddressSpace = std::uint64_t{1} << 47;
#else
inline constexpr std::uint64_t kUserAddressSpace = std::uint64_t{3} << 30;  // 3 GiB of 4
#endif

// Physical and page-file figures of the extended status, in bytes:
//   totalPhys     = MemTotal
//   availPhys     = MemAvailable, or MemFree + Buffers + Cached without it,
//                   never above totalPhys
//   totalPageFile = MemTotal + SwapTotal
//   availPageFile = availPhys + SwapFree, never above totalPageFile
// With strict commit accounting (overcommit_memory 2) the page-file pair is
// instead CommitLimit and CommitLimit - Committed_AS, never below zero.
// Returns false, changing nothing, when strict accounting is on but the
// commit values are missing. The virtual figures are left alone.
bool setFromMeminfo(const MeminfoValues& values, bool strictOvercommit, MemoryStatusEx& status);

struct AddressSpace {
    std::uint64_t total = 0;
    std::uint64_t available = 0;
};

// `limit` is the RLIMIT_AS soft limit in bytes (RLIM_INFINITY, all ones, when
// unset), `userSpace` the architecture's address space and `mapped` the
// process's VmSize in bytes. The total is the smaller of limit and userSpace;
// the available part is what the process hasn't mapped, never below zero.
AddressSpace addressSpace(std::uint64_t limit, std::uint64_t userSpace, std::uint64_t mapped);

// The fields of struct sysinfo the legacy status uses, in mem_unit units.
struct SysinfoCounts {
    std::uint64_t totalram = 0;
    std::uint64_t freeram = 0;
    std::uint64_t bufferram = 0;
    std::uint64_t totalswap = 0;
    std::uint64_t freeswap = 0;
    std::uint64_t memUnit = 1;
};

// The legacy status: totalPhys = totalram, availPhys = freeram + bufferram,
// totalPageFile = totalram + totalswap, availPageFile = freeram + bufferram +
// freeswap, the virtual pair from `space`; each count capped by
// generic::capToLegacy.
MemoryStatus legacyStatus(const SysinfoCounts& counts, const AddressSpace& space);

}  // namespace qx::linuxos
