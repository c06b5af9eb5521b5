// Writes runs of spaces (u' ', 0x0020) into fresh memory with streaming
// (non-temporal) stores: the lines go straight to memory instead of being
// read into the cache first and pushing everything else out of it.
#pragma once

#include <cstddef>

namespace qx::win32 {

// Writes `count` spaces from `first` on, and nothing outside them. `first`
// needs only the alignment of char16_t. The stores are fenced before return.
void streamSpaces(char16_t* first, std::size_t count) noexcept;

}  // namespace qx::win32
