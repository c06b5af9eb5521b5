// Seeded random quendax-sim script lines for the soak: memory and processor
// figures (zeros, equal values, extremes), failing operations, every
// command, key, click, double-click, tray code, resize, minimize, density
// change and message-box hold. The same seed always gives the same lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx::soak {

// A small portable generator (SplitMix64): the same numbers on every
// compiler and library.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // 0 .. n-1; n > 0.
    std::uint64_t below(std::uint64_t n) { return next() % n; }
    bool chance(unsigned percent) { return below(100) < percent; }

private:
    std::uint64_t state_;
};

class ScriptGenerator {
public:
    explicit ScriptGenerator(std::uint64_t seed) : random_(seed) {}

    // The lines that set up the machine and start one run of the program.
    std::vector<std::string> opening();
    // One more line while the program runs; the About box's buttons are
    // clicked only while it is open.
    std::string step(bool aboutOpen);

private:
    std::string memoryLine(const char* command);
    std::string cpuLine();
    std::uint64_t amount();
    std::uint64_t counter(std::uint64_t previous);

    Random random_;
    std::uint64_t idle_ = 0, kernel_ = 0, user_ = 0;
};

}  // namespace qx::soak
