// One sample as the window takes it (memory status and processor usage
// through ModMemory on the Windows backend) against the floor: the two
// system calls alone, GlobalMemoryStatusEx and GetSystemTimes. Counts the
// program's heap allocations (operator new) per sample, which must be zero.
//
// Nine rounds, the two contenders alternating, so a slow patch of a shared
// machine doesn't land on one side only; medians are compared.
#include <cstdint>
#include <cstdio>
#include <vector>

#include <windows.h>

#include "bench_timing.h"
#include "common/counted_allocations.h"
#include "platform/win32/win32_memory.h"
#include "sampling/mod_memory.h"

namespace {

constexpr int kRounds = 9;
constexpr int kSamples = 20000;

double sampleSeconds(qx::ModMemory& module, qx::MemoryInfo& info, qx::CpuUsage& usage) {
    const double start = qx::bench::nowSeconds();
    for (int i = 0; i < kSamples; ++i) {
        module.GetMemoryInfo(info);
        module.GetCpuUsage(usage);
    }
    return (qx::bench::nowSeconds() - start) / kSamples;
}

double floorSeconds() {
    const double start = qx::bench::nowSeconds();
    for (int i = 0; i < kSamples; ++i) {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        ::GlobalMemoryStatusEx(&status);
        FILETIME idle{}, kernel{}, user{};
        ::GetSystemTimes(&idle, &kernel, &user);
    }
    return (qx::bench::nowSeconds() - start) / kSamples;
}

}  // namespace

int main() {
    qx::win32::Win32Memory memory;
    qx::ModMemory module(memory);
    qx::MemoryInfo info;
    qx::CpuUsage usage;
    module.GetMemoryInfo(info);
    module.GetCpuUsage(usage);

    std::vector<double> samples, floors;
    std::uint64_t allocations = 0;
    for (int round = 0; round < kRounds; ++round) {
        // Count around the samples alone: growing the vector allocates too.
        const std::uint64_t before = qx::bench::allocationsSoFar();
        const double seconds = sampleSeconds(module, info, usage);
        allocations += qx::bench::allocationsSoFar() - before;
        samples.push_back(seconds);
        floors.push_back(floorSeconds());
    }
    const double sample = qx::bench::median(samples) * 1e9;
    const double floor = qx::bench::median(floors) * 1e9;
    std::printf("medians of %d rounds of %d calls, ns per call\n", kRounds, kSamples);
    std::printf("  sample (ModMemory over Win32Memory)   %8.0f\n", sample);
    std::printf("  floor (the two system calls alone)   %8.0f\n", floor);
    std::printf("  ratio sample/floor                   %8.2f\n", sample / floor);
    std::printf("  allocations per sample               %8.3f   (goal: 0; %llu in %d samples)\n",
                static_cast<double>(allocations) / (static_cast<double>(kRounds) * kSamples),
                static_cast<unsigned long long>(allocations), kRounds * kSamples);
    std::printf("  (total physical %.0f MB, busy %.1f %%)\n", info.TotalPhysical, usage.BusyPercent);
    return allocations == 0 ? 0 : 1;
}
