// Memory status and processor times of a Windows machine, from kernel32.
#pragma once

#include <cstdint>

#include "platform/generic/figure_rules.h"
#include "platform/system.h"

namespace qx::win32 {

// GlobalMemoryStatusEx; false, leaving `status` alone, when it fails.
bool readMemoryStatusEx(MemoryStatusEx& status);

// Allocates nothing; not for use from several threads at once.
class Win32Memory final : public MemorySystem {
public:
    bool globalMemoryStatusEx(MemoryStatusEx& status) override { return readMemoryStatusEx(status); }
    // GlobalMemoryStatus. Its counts are pointer-sized; each is capped at
    // 32 bits (a 64-bit program would otherwise hand on a cut-off number).
    void globalMemoryStatus(MemoryStatus& status) override;
    // GetSystemTimes: idle, kernel (idle included) and user time.
    bool getSystemTimes(SystemTimes& times) override;

private:
    generic::NonDecreasingTimes times_;
};

}  // namespace qx::win32
