#include "platform/win32/win32_memory.h"

#include <algorithm>
#include <limits>

#include <windows.h>

namespace qx::win32 {

namespace {

std::uint64_t fileTimeCount(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

std::uint32_t saturateToDword(std::uint64_t count) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(std::min(count, kMax));
}

SystemTimes NonDecreasingTimes::apply(const SystemTimes& reported) {
    last_.idle = std::max(last_.idle, reported.idle);
    last_.kernel = std::max(last_.kernel, reported.kernel);
    last_.user = std::max(last_.user, reported.user);
    return last_;
}

bool Win32Memory::globalMemoryStatusEx(MemoryStatusEx& status) {
    MEMORYSTATUSEX record{};
    record.dwLength = sizeof record;
    if (!::GlobalMemoryStatusEx(&record)) return false;
    status.totalPhys = record.ullTotalPhys;
    status.availPhys = record.ullAvailPhys;
    status.totalPageFile = record.ullTotalPageFile;
    status.availPageFile = record.ullAvailPageFile;
    status.totalVirtual = record.ullTotalVirtual;
    status.availVirtual = record.ullAvailVirtual;
    return true;
}

void Win32Memory::globalMemoryStatus(MemoryStatus& status) {
    MEMORYSTATUS record{};
    record.dwLength = sizeof record;
    ::GlobalMemoryStatus(&record);
    status.totalPhys = saturateToDword(record.dwTotalPhys);
    status.availPhys = saturateToDword(record.dwAvailPhys);
    status.totalPageFile = saturateToDword(record.dwTotalPageFile);
    status.availPageFile = saturateToDword(record.dwAvailPageFile);
    status.totalVirtual = saturateToDword(record.dwTotalVirtual);
    status.availVirtual = saturateToDword(record.dwAvailVirtual);
}

bool Win32Memory::getSystemTimes(SystemTimes& times) {
    FILETIME idle{}, kernel{}, user{};
    if (!::GetSystemTimes(&idle, &kernel, &user)) return false;
    times = times_.apply(SystemTimes{fileTimeCount(idle), fileTimeCount(kernel), fileTimeCount(user)});
    return true;
}

}  // namespace qx::win32
