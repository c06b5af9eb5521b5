// Memory status and processor times through the real calls (under Wine in
// the cross build), and the arithmetic around them.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_memory.h"

namespace qx::win32 {
namespace {

TEST(Win32Memory, ExtendedStatusHasSensibleFigures) {
    Win32Memory memory;
    MemoryStatusEx status;
    ASSERT_TRUE(memory.globalMemoryStatusEx(status));
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_GT(status.totalPageFile, 0u);
    EXPECT_GT(status.totalVirtual, 0u);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_LE(status.availPageFile, status.totalPageFile);
    EXPECT_LE(status.availVirtual, status.totalVirtual);
    EXPECT_GT(status.availVirtual, 0u);
}

TEST(Win32Memory, LegacyStatusIsTheExtendedOneSaturatedAt32Bits) {
    Win32Memory memory;
    MemoryStatusEx extended;
    ASSERT_TRUE(memory.globalMemoryStatusEx(extended));
    MemoryStatus legacy;
    memory.globalMemoryStatus(legacy);
    // Totals don't move between the two calls; free figures may.
    EXPECT_EQ(legacy.totalPhys, generic::legacyFigure(extended.totalPhys));
    EXPECT_EQ(legacy.totalVirtual, generic::legacyFigure(extended.totalVirtual));
    EXPECT_GT(legacy.totalPhys, 0u);
    EXPECT_GT(legacy.totalPageFile, 0u);
    EXPECT_LE(legacy.availPhys, legacy.totalPhys);
    EXPECT_LE(legacy.availPageFile, legacy.totalPageFile);
    if (extended.totalPhys > 0xFFFFFFFFull) {
        EXPECT_EQ(legacy.totalPhys, 0xFFFFFFFFu);
    }
    // A 64-bit process has far more than 4 GiB of address space.
    if (sizeof(void*) == 8) {
        EXPECT_EQ(legacy.totalVirtual, 0xFFFFFFFFu);
    }
}

TEST(Win32Memory, ProcessorTimesNeverRunBackwards) {
    Win32Memory memory;
    SystemTimes previous;
    ASSERT_TRUE(memory.getSystemTimes(previous));
    EXPECT_GE(previous.kernel, previous.idle);
    EXPECT_GT(previous.kernel + previous.user, 0u);
    volatile unsigned sink = 0;
    for (int round = 0; round < 200; ++round) {
        for (unsigned i = 0; i < 20000; ++i) sink = sink + i;
        SystemTimes now;
        ASSERT_TRUE(memory.getSystemTimes(now));
        EXPECT_GE(now.idle, previous.idle);
        EXPECT_GE(now.kernel, previous.kernel);
        EXPECT_GE(now.user, previous.user);
        previous = now;
    }
}

TEST(Win32Memory, ProcessorTimesAdvanceWhileBusy) {
    Win32Memory memory;
    SystemTimes before;
    ASSERT_TRUE(memory.getSystemTimes(before));
    const ULONGLONG start = ::GetTickCount64();
    volatile unsigned sink = 0;
    while (::GetTickCount64() - start < 300) sink = sink + 1;
    SystemTimes after;
    ASSERT_TRUE(memory.getSystemTimes(after));
    EXPECT_GT(after.kernel + after.user, before.kernel + before.user);
}

}  // namespace
}  // namespace qx::win32
