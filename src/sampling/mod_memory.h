// The sampling module: turns the system's memory status and processor times
// into the two plain records the window reads.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace qx {

// One memory sample, all in megabytes (bytes / 1,048,576), never rounded.
struct MemoryInfo {
    double TotalPhysical = 0;
    double FreePhysical = 0;
    double UsedPhysical = 0;
    double TotalPagefile = 0;
    double FreePagefile = 0;
    double UsedPagefile = 0;
    double TotalVirtual = 0;
    double FreeVirtual = 0;
    double UsedVirtual = 0;
};

// Processor time since the previous sample (100-ns units) and the busy share.
struct CpuUsage {
    double UserTime = 0;
    double KernelTime = 0;  // includes idle time, as the system reports it
    double IdleTime = 0;
    double TotalTime = 0;
    double BusyPercent = 0;
};

// An unsigned 64-bit count read as two 32-bit halves, low half first.
double LargeToDouble(const std::uint64_t& value);

class ModMemory {
public:
    explicit ModMemory(MemorySystem& system) : system_(system) {}

    // Fills `info`. When the extended query fails, switches to the legacy
    // query for good and leaves `info` as it was on this call.
    void GetMemoryInfo(MemoryInfo& info);

    // Fills `usage` with the times since the previous call. Returns false
    // when no processor time passed (nothing to divide by) or the times
    // could not be read: BusyPercent then keeps its previous value and the
    // next call measures from the last successful one.
    bool GetCpuUsage(CpuUsage& usage);

    // Cleared by the main window's load handler at every start.
    std::int32_t UseLegacyStatus = 0;

private:
    MemorySystem& system_;
    double PrevIdleTime = 0;
    double PrevKernelTime = 0;
    double PrevUserTime = 0;
};

}  // namespace qx
