#include <gtest/gtest.h>

#include "sampling/mod_memory.h"

namespace qx {
namespace {

class FakeMemory final : public MemorySystem {
public:
    bool extendedWorks = true;
    int extendedCalls = 0;
    MemoryStatusEx extended;
    MemoryStatus legacy;
    SystemTimes times;
    bool timesWork = true;

    bool globalMemoryStatusEx(MemoryStatusEx& s) override {
        ++extendedCalls;
        if (!extendedWorks) return false;
        s = extended;
        return true;
    }
    void globalMemoryStatus(MemoryStatus& s) override { s = legacy; }
    bool getSystemTimes(SystemTimes& t) override {
        if (!timesWork) return false;
        t = times;
        return true;
    }
};

TEST(LargeToDouble, ReadsTheLowHalfAsUnsigned) {
    EXPECT_EQ(LargeToDouble(0xFFFFFFFFull), 4294967295.0);
    EXPECT_EQ(LargeToDouble((1ull << 32) | 0x80000000ull), 6442450944.0);
    EXPECT_EQ(LargeToDouble(0), 0.0);
    EXPECT_EQ(LargeToDouble(128ull << 40), 140737488355328.0);
}

TEST(GetMemoryInfo, ConvertsBytesToMegabytesAndDerivesTheUsedFields) {
    FakeMemory fake;
    fake.extended = {8589934592ull, 1610612736ull, 1572864ull, 0, 4ull << 30, 1ull << 30};
    ModMemory memory(fake);
    MemoryInfo info;
    memory.GetMemoryInfo(info);
    EXPECT_EQ(info.TotalPhysical, 8192);
    EXPECT_EQ(info.FreePhysical, 1536);
    EXPECT_EQ(info.UsedPhysical, 6656);
    EXPECT_EQ(info.TotalPagefile, 1.5);  // not whole megabytes: nothing rounded
    EXPECT_EQ(info.UsedPagefile, 1.5);
    EXPECT_EQ(info.TotalVirtual, 4096);
    EXPECT_EQ(info.UsedVirtual, 3072);
}

TEST(GetMemoryInfo, SwitchesToTheLegacyQueryForGoodAfterOneFailure) {
    FakeMemory fake;
    fake.extendedWorks = false;
    fake.legacy = {0xFFFFFFFFu, 1048576u, 0, 0, 0, 0};
    ModMemory memory(fake);
    MemoryInfo info;
    info.TotalPhysical = 42;  // whatever the record held before
    memory.GetMemoryInfo(info);
    EXPECT_EQ(info.TotalPhysical, 42);  // the failing call leaves it alone
    EXPECT_EQ(memory.UseLegacyStatus, 1);

    fake.extendedWorks = true;
    memory.GetMemoryInfo(info);
    EXPECT_DOUBLE_EQ(info.TotalPhysical, 4294967295.0 / 1048576);
    EXPECT_GT(info.TotalPhysical, 0);
    EXPECT_EQ(info.FreePhysical, 1);
    EXPECT_EQ(fake.extendedCalls, 1);  // never asked again

    memory.UseLegacyStatus = 0;  // the next start tries the extended one again
    memory.GetMemoryInfo(info);
    EXPECT_EQ(fake.extendedCalls, 2);
}

TEST(GetCpuUsage, MeasuresSinceThePreviousGoodSample) {
    FakeMemory fake;
    ModMemory memory(fake);
    CpuUsage usage;
    fake.times = {500, 1500, 500};  // idle, kernel (with idle), user
    ASSERT_TRUE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.TotalTime, 2000);
    EXPECT_EQ(usage.BusyPercent, 75);

    // No time passed: the busy share stays, the previous times too.
    EXPECT_FALSE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.TotalTime, 0);
    EXPECT_EQ(usage.BusyPercent, 75);

    fake.times = {1500, 2500, 500};  // only idle time passed
    ASSERT_TRUE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.IdleTime, 1000);
    EXPECT_EQ(usage.BusyPercent, 0);

    fake.times = {1500, 2600, 900};  // no idle time at all
    ASSERT_TRUE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.UserTime, 400);
    EXPECT_EQ(usage.KernelTime, 100);
    EXPECT_EQ(usage.BusyPercent, 100);
}

TEST(GetCpuUsage, AFailedReadKeepsTheShareAndTheLastGoodTimes) {
    FakeMemory fake;
    fake.times = {6000, 8000, 2000};
    ModMemory memory(fake);
    CpuUsage usage;
    ASSERT_TRUE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.BusyPercent, 40);

    fake.timesWork = false;
    EXPECT_FALSE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.TotalTime, 0);
    EXPECT_EQ(usage.IdleTime, 0);
    EXPECT_EQ(usage.BusyPercent, 40);

    fake.timesWork = true;
    fake.times = {7000, 9500, 2500};
    ASSERT_TRUE(memory.GetCpuUsage(usage));
    EXPECT_EQ(usage.IdleTime, 1000);  // since the last good read, not since boot
    EXPECT_EQ(usage.TotalTime, 2000);
    EXPECT_EQ(usage.BusyPercent, 50);
}

}  // namespace
}  // namespace qx
