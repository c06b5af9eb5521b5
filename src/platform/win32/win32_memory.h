// Memory status and processor times of a Windows machine, from kernel32.
#pragma once

#include <cstdint>

#include "platform/system.h"

namespace qx::win32 {

// A count that doesn't fit 32 bits reads 4,294,967,295, as the legacy status
// call reports memory beyond 4 GiB.
std::uint32_t saturateToDword(std::uint64_t count);

// Cumulative times that never run backwards: a counter reported lower than
// before keeps its previous value.
class NonDecreasingTimes {
public:
    SystemTimes apply(const SystemTimes& reported);

private:
    SystemTimes last_;
};

// Allocates nothing; not for use from several threads at once.
class Win32Memory final : public MemorySystem {
public:
    // GlobalMemoryStatusEx; false, leaving `status` alone, when it fails.
    bool globalMemoryStatusEx(MemoryStatusEx& status) override;
    // GlobalMemoryStatus. Its counts are pointer-sized; each is saturated at
    // 32 bits (a 64-bit program would otherwise hand on a cut-off number).
    void globalMemoryStatus(MemoryStatus& status) override;
    // GetSystemTimes: idle, kernel (idle included) and user time.
    bool getSystemTimes(SystemTimes& times) override;

private:
    NonDecreasingTimes times_;
};

}  // namespace qx::win32
