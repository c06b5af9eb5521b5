#include "platform/win32/win32_memory.h"

#include <windows.h>

namespace qx::win32 {

namespace {

std::uint64_t fileTimeCount(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

}  // namespace

bool readMemoryStatusEx(MemoryStatusEx& status) {
    MEMORYSTATUSEX record{};
    record.dwLength = sizeof record;
    if (!::GlobalMemoryStatusEx(&record)) return false;
    status = {record.ullTotalPhys,     record.ullAvailPhys,     record.ullTotalPageFile,
              record.ullAvailPageFile, record.ullTotalVirtual, record.ullAvailVirtual};
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
