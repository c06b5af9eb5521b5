#include "sampling/mod_memory.h"

namespace qx {

namespace {
constexpr double kBytesPerMegabyte = 1048576.0;
}

double LargeToDouble(const std::uint64_t& value) {
    // The low half counts as unsigned, the high half as signed.
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
    const auto high = static_cast<std::int32_t>(static_cast<std::uint32_t>(value >> 32));
    double lowPart = low;
    if (low < 0) lowPart += 4294967296.0;
    return lowPart + static_cast<double>(high) * 4294967296.0;
}

void ModMemory::GetMemoryInfo(MemoryInfo& info) {
    if (UseLegacyStatus == 1) {
        MemoryStatus status;
        system_.globalMemoryStatus(status);
        info.TotalPhysical = status.totalPhys / kBytesPerMegabyte;
        info.FreePhysical = status.availPhys / kBytesPerMegabyte;
        info.TotalPagefile = status.totalPageFile / kBytesPerMegabyte;
        info.FreePagefile = status.availPageFile / kBytesPerMegabyte;
        info.TotalVirtual = status.totalVirtual / kBytesPerMegabyte;
        info.FreeVirtual = status.availVirtual / kBytesPerMegabyte;
    } else {
        MemoryStatusEx status;
        if (!system_.globalMemoryStatusEx(status)) {
            UseLegacyStatus = 1;
            return;
        }
        info.TotalPhysical = LargeToDouble(status.totalPhys) / 1024 / 1024;
        info.FreePhysical = LargeToDouble(status.availPhys) / 1024 / 1024;
        info.TotalPagefile = LargeToDouble(status.totalPageFile) / 1024 / 1024;
        info.FreePagefile = LargeToDouble(status.availPageFile) / 1024 / 1024;
        info.TotalVirtual = LargeToDouble(status.totalVirtual) / 1024 / 1024;
        info.FreeVirtual = LargeToDouble(status.availVirtual) / 1024 / 1024;
    }
    info.UsedPhysical = info.TotalPhysical - info.FreePhysical;
    info.UsedPagefile = info.TotalPagefile - info.FreePagefile;
    info.UsedVirtual = info.TotalVirtual - info.FreeVirtual;
}

bool ModMemory::GetCpuUsage(CpuUsage& usage) {
    SystemTimes times;
    if (!system_.getSystemTimes(times)) {
        // A failed read measures nothing: as after an interval in which no
        // time passed, the share and the previous times stay, so the next
        // good read measures from the last good one, not from system start.
        usage.UserTime = usage.KernelTime = usage.IdleTime = usage.TotalTime = 0;
        return false;
    }
    const double idle = LargeToDouble(times.idle);
    const double kernel = LargeToDouble(times.kernel);
    const double user = LargeToDouble(times.user);

    usage.UserTime = user - PrevUserTime;
    usage.KernelTime = kernel - PrevKernelTime;
    usage.IdleTime = idle - PrevIdleTime;
    usage.TotalTime = usage.KernelTime + usage.UserTime;
    if (usage.TotalTime == 0) return false;
    usage.BusyPercent = (usage.TotalTime - usage.IdleTime) * 100 / usage.TotalTime;

    PrevUserTime = user;
    PrevKernelTime = kernel;
    PrevIdleTime = idle;
    return true;
}

}  // namespace qx
