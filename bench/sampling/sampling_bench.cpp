// One sample as the window takes it (memory status and processor usage
// through ModMemory on the Linux backend) against the floor: reading
// /proc/meminfo and /proc/stat into buffers the same way, with nothing done
// to the text. Also counts heap allocations per sample, which must be zero.
//
// Every benchmark runs 9 times, interleaved at random so that a slow patch
// of a shared machine doesn't land on one side only; compare the medians.
// Flags given on the command line override these defaults.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/linux/linux_memory.h"
#include "platform/linux/meminfo_parser.h"
#include "platform/linux/proc_file.h"
#include "platform/linux/proc_stat_parser.h"
#include "sampling/mod_memory.h"
#include "common/counted_allocations.h"

namespace {

using qx::bench::allocationsSoFar;

void reportAllocations(benchmark::State& state, std::uint64_t before) {
    const auto calls = static_cast<double>(state.iterations());
    state.counters["allocs/call"] =
        benchmark::Counter(static_cast<double>(allocationsSoFar() - before) / calls);
}

// (a) What the window pays per sample.
void BM_Sample(benchmark::State& state) {
    qx::linuxos::LinuxMemory system;
    qx::ModMemory sampling(system);
    qx::MemoryInfo info;
    qx::CpuUsage usage;
    sampling.GetCpuUsage(usage);
    const std::uint64_t before = allocationsSoFar();
    for (auto _ : state) {
        sampling.GetMemoryInfo(info);
        sampling.GetCpuUsage(usage);
        benchmark::DoNotOptimize(info);
        benchmark::DoNotOptimize(usage);
    }
    reportAllocations(state, before);
    if (sampling.UseLegacyStatus != 0) state.SkipWithError("the extended status failed");
}

// (b) The floor: the same two reads, into buffers of the same size, parsing nothing.
void BM_ReadFilesOnly(benchmark::State& state) {
    const qx::linuxos::ProcFile meminfo("/proc/meminfo");
    const qx::linuxos::ProcFile stat("/proc/stat");
    char meminfoBuffer[qx::linuxos::LinuxMemory::kMeminfoBufferSize];
    char statBuffer[qx::linuxos::LinuxMemory::kStatBufferSize];
    const std::uint64_t before = allocationsSoFar();
    for (auto _ : state) {
        const std::string_view a = meminfo.read(meminfoBuffer, sizeof meminfoBuffer);
        const std::string_view b = stat.read(statBuffer, sizeof statBuffer);
        benchmark::DoNotOptimize(a.data());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    reportAllocations(state, before);
}

// The parsing alone, on text read once: what (a) adds on top of (b), minus
// the statm read and the settings check.
void BM_ParseOnly(benchmark::State& state) {
    const qx::linuxos::ProcFile meminfo("/proc/meminfo");
    const qx::linuxos::ProcFile stat("/proc/stat");
    char meminfoBuffer[qx::linuxos::LinuxMemory::kMeminfoBufferSize];
    char statBuffer[qx::linuxos::LinuxMemory::kStatBufferSize];
    const std::string_view meminfoText = meminfo.read(meminfoBuffer, sizeof meminfoBuffer);
    const std::string_view statText = stat.read(statBuffer, sizeof statBuffer);
    qx::linuxos::MeminfoValues values;
    qx::linuxos::CpuTicks ticks;
    if (!qx::linuxos::parseMeminfo(meminfoText, values) || !qx::linuxos::parseCpuLine(statText, ticks)) {
        state.SkipWithError("could not parse this machine's /proc files");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(meminfoText.data());
        benchmark::DoNotOptimize(statText.data());
        benchmark::DoNotOptimize(qx::linuxos::parseMeminfo(meminfoText, values));
        benchmark::DoNotOptimize(qx::linuxos::parseCpuLine(statText, ticks));
        benchmark::DoNotOptimize(values);
        benchmark::DoNotOptimize(ticks);
    }
}

BENCHMARK(BM_Sample)->DisplayAggregatesOnly();
BENCHMARK(BM_ReadFilesOnly)->DisplayAggregatesOnly();
BENCHMARK(BM_ParseOnly)->DisplayAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
    // Defaults first, so that the same flags given by the caller win.
    std::vector<char*> args;
    args.push_back(argv[0]);
    char repetitions[] = "--benchmark_repetitions=9";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.push_back(repetitions);
    args.push_back(interleave);
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
