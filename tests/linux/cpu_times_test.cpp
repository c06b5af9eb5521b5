#include "platform/linux/cpu_times.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/generic/figure_rules.h"

namespace qx::linuxos {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(TicksToHundredNs, CommonTickRates) {
    EXPECT_EQ(ticksToHundredNs(0, 100), 0u);
    EXPECT_EQ(ticksToHundredNs(1, 100), 100000u);  // 10 ms
    EXPECT_EQ(ticksToHundredNs(250, 100), 25000000u);
    EXPECT_EQ(ticksToHundredNs(1, 1000), 10000u);   // 1 ms
    EXPECT_EQ(ticksToHundredNs(3, 1024), 29296u);   // 29296.875, truncated
    EXPECT_EQ(ticksToHundredNs(1025, 1024), 10009765u);
}

TEST(TicksToHundredNs, LargeCountsStayExact) {
    // 10^14 ticks times 10^5 would overflow 64 bits if multiplied first.
    EXPECT_EQ(ticksToHundredNs(100000000000000u, 100), 10000000000000000000u);
    EXPECT_EQ(ticksToHundredNs(100000000000099u, 100), 10000000000009900000u);
}

TEST(TicksToHundredNs, SaturatesInsteadOfWrapping) {
    EXPECT_EQ(ticksToHundredNs(kMax, 100), kMax);
    EXPECT_EQ(ticksToHundredNs(kMax / 100000 + 1, 100), kMax);
    EXPECT_EQ(ticksToHundredNs(kMax, 10000000), kMax);  // exactly 1:1
    EXPECT_EQ(ticksToHundredNs(kMax, 20000000), kMax / 2);
}

TEST(TicksToHundredNs, ZeroRateGivesZero) {
    EXPECT_EQ(ticksToHundredNs(12345, 0), 0u);
}

TEST(SystemTimesFromTicks, GroupsTheFields) {
    CpuTicks t;
    t.user = 1;
    t.nice = 2;
    t.system = 4;
    t.idle = 8;
    t.iowait = 16;
    t.irq = 32;
    t.softirq = 64;
    t.steal = 128;
    const SystemTimes s = systemTimesFromTicks(t, 100);
    EXPECT_EQ(s.idle, (8 + 16) * 100000u);
    EXPECT_EQ(s.kernel, (4 + 8 + 16 + 32 + 64 + 128) * 100000u);
    EXPECT_EQ(s.user, (1 + 2) * 100000u);
}

TEST(SystemTimesFromTicks, SumsSaturate) {
    CpuTicks t;
    t.idle = kMax;
    t.iowait = 1;
    t.user = kMax - 1;
    t.nice = 5;
    const SystemTimes s = systemTimesFromTicks(t, 10000000);
    EXPECT_EQ(s.idle, kMax);
    EXPECT_EQ(s.kernel, kMax);
    EXPECT_EQ(s.user, kMax);
}

TEST(SystemTimesFromTicks, HeldIowaitDropsKeepKernelAtLeastIdle) {
    // Building the times from ticks and holding them: whatever iowait does,
    // the reported kernel time (which includes idle) stays at or above idle.
    generic::NonDecreasingTimes held;
    CpuTicks t;
    t.system = 50;
    t.idle = 1000;
    std::uint64_t iowaits[] = {40, 10, 60, 0, 55, 80};
    SystemTimes previous;
    for (std::uint64_t iowait : iowaits) {
        t.iowait = iowait;
        t.idle += 3;
        t.system += 1;
        const SystemTimes s = held.next(systemTimesFromTicks(t, 100));
        EXPECT_GE(s.kernel, s.idle);
        EXPECT_GE(s.idle, previous.idle);
        EXPECT_GE(s.kernel, previous.kernel);
        previous = s;
    }
}

}  // namespace
}  // namespace qx::linuxos
