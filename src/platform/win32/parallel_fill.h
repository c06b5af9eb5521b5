// Writes a large run of spaces with several threads at once: on a fresh
// block most of the time goes into the system's first-touch work for each
// page (finding and zeroing it), which the processors can do side by side.
#pragma once

#include <cstddef>

namespace qx::win32 {

// Threads a block of `bytes` is written with: one per processor, at most 8,
// and none for less than 32 MiB of the block.
unsigned fillThreadsFor(std::size_t bytes, unsigned processors);

// Writes `count` spaces from `first` on with streamSpaces, split among
// `threads` threads (the calling one included); returns when all are
// written. A thread that can't be started leaves its share to the caller.
void fillSpacesInParallel(char16_t* first, std::size_t count, unsigned threads) noexcept;

// Processors this process may run on, at least 1.
unsigned usableProcessors() noexcept;

}  // namespace qx::win32
