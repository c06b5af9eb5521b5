// Whether, and in what pieces, a freeing block can be held on Windows.
// Plain arithmetic on the figures of GlobalMemoryStatusEx, in bytes: the
// commit limit (physical memory plus page files) is totalPageFile, and what
// of it is not yet committed availPageFile; availVirtual is the free user
// address space of this process.
#pragma once

#include <cstdint>

#include "platform/freeing_rules.h"
#include "platform/system.h"

namespace qx::win32 {

// The largest block that can be committed without starving other programs:
// it must fit into available physical memory plus the page files' size, and
// into the uncommitted part of the commit limit, each less freeingReserve.
std::uint64_t roomForBlock(const MemoryStatusEx& figures);

// Address space kept free beside the block for the program itself.
inline constexpr std::uint64_t kAddressReserve = std::uint64_t{256} << 20;

// How many of `bytes` the process's address space can hold with the
// reserve kept, in whole 64 KiB allocation units. A 64-bit process holds
// any block; a 32-bit one at most about 4 GiB less what it already uses.
std::uint64_t bytesToHold(std::uint64_t bytes, std::uint64_t availVirtual);

// Pieces the block is committed in: the whole block where the address space
// is large, else pieces of at most this much, so a fragmented 32-bit space
// can hold it; a piece that can't be had is tried again at half the size,
// down to kSmallestPiece.
inline constexpr std::uint64_t kLargestPiece32 = std::uint64_t{256} << 20;
inline constexpr std::uint64_t kSmallestPiece = std::uint64_t{1} << 20;
std::uint64_t firstPieceBytes(std::uint64_t bytes, bool wideAddressSpace);

}  // namespace qx::win32
