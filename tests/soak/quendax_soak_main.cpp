// quendax-soak: drives the whole program on the simulated platform with
// seeded random script lines and checks it after every line. A failing seed
// leaves a quendax-sim script that replays it.
//
//   quendax-soak [--seed N] [--ticks N] [--seeds K] [--replay-dir DIR] [--no-memory-check]
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "soak_run.h"

namespace {

bool ParseCount(const char* text, std::uint64_t& value) {
    try {
        std::size_t used = 0;
        value = std::stoull(text, &used);
        return used == std::string(text).size();
    } catch (const std::exception&) {
        return false;
    }
}

int Usage() {
    std::cerr << "usage: quendax-soak [--seed N] [--ticks N] [--seeds K] [--replay-dir DIR]"
                 " [--no-memory-check]\n";
    return 2;
}

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MB", bytes / 1048576.0);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    qx::soak::SoakOptions options;
    std::uint64_t seeds = 1;
    std::string replayDir = ".";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue) {
            if (!ParseCount(argv[++i], options.seed)) return Usage();
        } else if (arg == "--ticks" && hasValue) {
            if (!ParseCount(argv[++i], options.ticks)) return Usage();
        } else if (arg == "--seeds" && hasValue) {
            if (!ParseCount(argv[++i], seeds) || seeds == 0) return Usage();
        } else if (arg == "--replay-dir" && hasValue) {
            replayDir = argv[++i];
        } else if (arg == "--no-memory-check") {
            options.checkMemory = false;
        } else {
            return Usage();
        }
    }

    const std::uint64_t firstSeed = options.seed;
    int status = 0;
    for (std::uint64_t s = 0; s < seeds; ++s) {
        options.seed = firstSeed + s;
        options.recordLife.reset();
        const auto result = qx::soak::runSoak(options);
        std::cout << "seed " << options.seed << ": " << result.ticks << " ticks, " << result.steps
                  << " script lines, " << result.lives << " run(s) of the program in " << result.seconds
                  << " s (" << static_cast<std::uint64_t>(result.ticks / std::max(result.seconds, 1e-9))
                  << " ticks/s; " << result.cpuSeconds << " s of processor time, "
                  << static_cast<std::uint64_t>(result.ticks / std::max(result.cpuSeconds, 1e-9))
                  << " ticks per processor second)\n";
        for (const auto& c : result.checkpoints) {
            std::cout << "  after " << c.ticks << " ticks: heap in use " << Megabytes(c.heapBytes)
                      << ", resident " << Megabytes(c.rssBytes) << '\n';
        }
        if (!result.violation) continue;

        status = 1;
        std::cout << "seed " << options.seed << " FAILED: " << result.violation->what << '\n';
        if (result.violation->prints.empty() && result.violation->what.rfind("the heap", 0) == 0) {
            continue;  // a growth of the whole soak has no single script to show
        }
        // The run is deterministic: run it again keeping the failing life's lines.
        options.recordLife = result.violationLife;
        const auto again = qx::soak::runSoak(options);
        const std::string script = qx::soak::replayScript(options, again);
        const std::string path = replayDir + "/quendax-soak-" + std::to_string(options.seed) + ".scn";
        std::ofstream(path) << script;
        std::cout << "replay with: quendax-sim " << path << "  (" << again.recorded.size()
                  << " lines)\n";
        if (again.recorded.size() <= 300) std::cout << script;
    }
    return status;
}
