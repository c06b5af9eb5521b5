#include "platform/win32/win32_memory.h"

#include <windows.h>

namespace qx::win32 {

namespace {

std::uint64_t fileTimeCount(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

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
    status = generic::capToLegacy({record.dwTotalPhys, record.dwAvailPhys, record.dwTotalPageFile,
                                   record.dwAvailPageFile, record.dwTotalVirtual, record.dwAvailVirtual});
}

bool Win32Memory::getSystemTimes(SystemTimes& times) {
    FILETIME idle{}, kernel{}, user{};
    if (!::GetSystemTimes(&idle, &kernel, &user)) return false;
    times = times_.next(SystemTimes{fileTimeCount(idle), fileTimeCount(kernel), fileTimeCount(user)});
    return true;
}

}  // namespace qx::win32
