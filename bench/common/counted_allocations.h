// Counts the program's heap allocations: a benchmark linking
// counted_allocations.cpp has every operator new counted, so it can tell
// whether the code it times allocates.
#pragma once

#include <cstdint>

namespace qx::bench {

// How many times operator new (any form) has been called so far.
std::uint64_t allocationsSoFar() noexcept;

}  // namespace qx::bench
