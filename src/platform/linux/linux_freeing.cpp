#include "platform/linux/linux_freeing.h"

#include <algorithm>

#include <sched.h>

#include "platform/linux/freeing_figures.h"

namespace qx {

namespace {

// Processors the program may run on (taskset, cpusets), at least one.
unsigned usableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return static_cast<unsigned>(std::max(CPU_COUNT(&set), 1));
}

}  // namespace

LinuxFreeing::LinuxFreeing() : LinuxFreeing(Options{}) {}

LinuxFreeing::LinuxFreeing(const Options& options) : options_(options) {
    if (options_.readFigures == nullptr) options_.readFigures = readFreeingFigures;
}

bool LinuxFreeing::createBlock(std::uint64_t characters) {
    releaseBlock();
    if (characters == 0) return true;
    if (characters > kNoLimit / sizeof(char16_t)) return false;
    const std::uint64_t bytes = characters * sizeof(char16_t);

    FreeingFigures figures;
    if (!options_.readFigures(figures) || !blockFits(figures, bytes)) return false;

    unsigned workers = workersFor(bytes, usableProcessors());
    if (options_.maxWorkers != 0) workers = std::min(workers, options_.maxWorkers);
    return workers_.start(characters, workers, options_.afterWrite);
}

void LinuxFreeing::releaseBlock() { workers_.stop(); }

}  // namespace qx
