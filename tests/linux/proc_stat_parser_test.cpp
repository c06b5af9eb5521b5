#include "platform/linux/proc_stat_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace qx::linuxos {
namespace {

constexpr std::string_view kModern =
    "cpu  187412 301 163245 2919832 21277 0 4310 712 55 7\n"
    "cpu0 93706 150 81622 1459916 10638 0 2155 356 27 3\n"
    "cpu1 93706 151 81623 1459916 10639 0 2155 356 28 4\n"
    "intr 1234567 0 9 0 0 0\n"
    "ctxt 9876543\n"
    "btime 1700000000\n";

TEST(ProcStatParser, ReadsTheAllProcessorLine) {
    CpuTicks t;
    ASSERT_TRUE(parseCpuLine(kModern, t));
    EXPECT_EQ(t.user, 187412u);
    EXPECT_EQ(t.nice, 301u);
    EXPECT_EQ(t.system, 163245u);
    EXPECT_EQ(t.idle, 2919832u);
    EXPECT_EQ(t.iowait, 21277u);
    EXPECT_EQ(t.irq, 0u);
    EXPECT_EQ(t.softirq, 4310u);
    EXPECT_EQ(t.steal, 712u);
}

TEST(ProcStatParser, OldKernelsWithFewerFieldsReadAsZero) {
    CpuTicks t;
    t.iowait = t.irq = t.softirq = t.steal = 99;
    ASSERT_TRUE(parseCpuLine("cpu  10 20 30 40\ncpu0 10 20 30 40\n", t));  // Linux 2.4
    EXPECT_EQ(t.user, 10u);
    EXPECT_EQ(t.idle, 40u);
    EXPECT_EQ(t.iowait, 0u);
    EXPECT_EQ(t.irq, 0u);
    EXPECT_EQ(t.softirq, 0u);
    EXPECT_EQ(t.steal, 0u);

    ASSERT_TRUE(parseCpuLine("cpu  10 20 30 40 50 60 70\n", t));  // 2.6.0, no steal
    EXPECT_EQ(t.softirq, 70u);
    EXPECT_EQ(t.steal, 0u);
}

TEST(ProcStatParser, LaterFieldsAreIgnored) {
    CpuTicks t;
    ASSERT_TRUE(parseCpuLine("cpu  1 2 3 4 5 6 7 8 9 10 11 12\n", t));
    EXPECT_EQ(t.steal, 8u);
}

TEST(ProcStatParser, FewerThanFourFieldsFail) {
    CpuTicks t;
    EXPECT_FALSE(parseCpuLine("cpu  1 2 3\n", t));
    EXPECT_FALSE(parseCpuLine("cpu \n", t));
}

TEST(ProcStatParser, NoPrefixOfTheLineIsAccepted) {
    // Without the newline the last number may have been cut short.
    const std::string_view line = kModern.substr(0, kModern.find('\n'));
    for (std::size_t cut = 0; cut <= line.size(); ++cut) {
        CpuTicks t;
        EXPECT_FALSE(parseCpuLine(kModern.substr(0, cut), t)) << "cut at " << cut;
    }
    CpuTicks t;
    EXPECT_TRUE(parseCpuLine(kModern.substr(0, line.size() + 1), t));
    EXPECT_EQ(t.steal, 712u);
}

TEST(ProcStatParser, OnlyTheAllProcessorLineCounts) {
    CpuTicks t;
    EXPECT_FALSE(parseCpuLine("cpu0 1 2 3 4\n", t));
    EXPECT_FALSE(parseCpuLine("intr 1 2 3 4\ncpu  1 2 3 4\n", t));
    EXPECT_FALSE(parseCpuLine("CPU  1 2 3 4\n", t));
}

TEST(ProcStatParser, GarbageAndEmptyFail) {
    CpuTicks t;
    t.user = 5;
    EXPECT_FALSE(parseCpuLine("", t));
    EXPECT_FALSE(parseCpuLine("\n", t));
    EXPECT_FALSE(parseCpuLine("cpu  1 2 x 4\n", t));
    EXPECT_FALSE(parseCpuLine("cpu  1 2 3x 4\n", t));
    EXPECT_FALSE(parseCpuLine("cpu  1 2 -3 4\n", t));
    EXPECT_FALSE(parseCpuLine(std::string_view("cpu  1 2\0 3 4\n", 14), t));
    EXPECT_EQ(t.user, 5u);  // left alone on failure
}

TEST(ProcStatParser, HugeNumbers) {
    CpuTicks t;
    ASSERT_TRUE(parseCpuLine("cpu  18446744073709551615 0 0 0\n", t));
    EXPECT_EQ(t.user, 18446744073709551615u);
    EXPECT_FALSE(parseCpuLine("cpu  18446744073709551616 0 0 0\n", t));
}

}  // namespace
}  // namespace qx::linuxos
