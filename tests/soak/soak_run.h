// One soak: runs the program on the simulated platform from seeded random
// script lines, life after life (a new start after each exit), until the
// readout timer has ticked the number of times asked for, and checks the
// invariants after every line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "invariants.h"

namespace qx::soak {

struct SoakOptions {
    std::uint64_t seed = 1;
    std::uint64_t ticks = 50000;
    bool checkMemory = true;
    // Keep the script lines of this life (0-based) to replay it.
    std::optional<std::uint64_t> recordLife;
};

struct Checkpoint {
    std::uint64_t ticks = 0;
    std::uint64_t heapBytes = 0;  // bytes in use on the heap (0: not known)
    std::uint64_t rssBytes = 0;   // resident set size (0: not known)
};

struct SoakResult {
    std::uint64_t ticks = 0;
    std::uint64_t steps = 0;
    std::uint64_t lives = 0;
    double seconds = 0;     // wall-clock time
    double cpuSeconds = 0;  // processor time of this process
    std::vector<Checkpoint> checkpoints;
    std::optional<Violation> violation;
    std::uint64_t violationLife = 0;
    std::vector<std::string> recorded;  // the lines of recordLife, up to the violation
};

SoakResult runSoak(const SoakOptions& options);

// A quendax-sim script that replays a failed soak: a comment naming the seed
// and the fault, the lines of the failing life, and prints of the values
// concerned.
std::string replayScript(const SoakOptions& options, const SoakResult& result);

}  // namespace qx::soak
