#include "platform/linux/memory_figures.h"

#include <gtest/gtest.h>

#include <limits>

namespace qx::linuxos {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint64_t KiB = 1024;

MeminfoValues modern() {
    MeminfoValues v;
    v.memTotal = 16000000;
    v.memFree = 3000000;
    v.memAvailable = 9000000;
    v.hasMemAvailable = true;
    v.buffers = 200000;
    v.cached = 5000000;
    v.swapTotal = 2000000;
    v.swapFree = 1500000;
    v.commitLimit = 10000000;
    v.committedAs = 4000000;
    v.hasCommitValues = true;
    return v;
}

TEST(MemoryFigures, HeuristicOvercommitUsesAvailablePlusSwap) {
    MemoryStatusEx s;
    s.totalVirtual = 77;
    ASSERT_TRUE(setFromMeminfo(modern(), false, s));
    EXPECT_EQ(s.totalPhys, 16000000 * KiB);
    EXPECT_EQ(s.availPhys, 9000000 * KiB);
    EXPECT_EQ(s.totalPageFile, 18000000 * KiB);
    EXPECT_EQ(s.availPageFile, 10500000 * KiB);
    EXPECT_EQ(s.totalVirtual, 77u);  // not its business
}

TEST(MemoryFigures, WithoutMemAvailableFreeBuffersAndCachedCount) {
    MeminfoValues v = modern();
    v.hasMemAvailable = false;
    v.memAvailable = 0;
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(v, false, s));
    EXPECT_EQ(s.availPhys, (3000000 + 200000 + 5000000) * KiB);
    EXPECT_EQ(s.availPageFile, (3000000 + 200000 + 5000000 + 1500000) * KiB);
}

TEST(MemoryFigures, AvailableNeverExceedsTotal) {
    MeminfoValues v = modern();
    v.memAvailable = 17000000;  // a kernel estimate gone high
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(v, false, s));
    EXPECT_EQ(s.availPhys, s.totalPhys);

    v.hasMemAvailable = false;
    v.memFree = 15000000;
    v.cached = 3000000;
    ASSERT_TRUE(setFromMeminfo(v, false, s));
    EXPECT_EQ(s.availPhys, s.totalPhys);
}

TEST(MemoryFigures, PageFileAvailableIsCappedAtItsTotal) {
    MeminfoValues v = modern();
    v.memAvailable = v.memTotal;
    v.swapFree = 2500000;  // swap free reported above swap total
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(v, false, s));
    EXPECT_EQ(s.totalPageFile, 18000000 * KiB);
    EXPECT_EQ(s.availPageFile, 18000000 * KiB);
}

TEST(MemoryFigures, NoSwapMeansPageFileEqualsPhysical) {
    MeminfoValues v = modern();
    v.swapTotal = v.swapFree = 0;
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(v, false, s));
    EXPECT_EQ(s.totalPageFile, s.totalPhys);
    EXPECT_EQ(s.availPageFile, s.availPhys);
}

TEST(MemoryFigures, StrictOvercommitUsesCommitLimit) {
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(modern(), true, s));
    EXPECT_EQ(s.totalPhys, 16000000 * KiB);
    EXPECT_EQ(s.availPhys, 9000000 * KiB);
    EXPECT_EQ(s.totalPageFile, 10000000 * KiB);
    EXPECT_EQ(s.availPageFile, 6000000 * KiB);
}

TEST(MemoryFigures, StrictOvercommitPastTheLimitGivesZero) {
    MeminfoValues v = modern();
    v.committedAs = 10000001;
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(v, true, s));
    EXPECT_EQ(s.totalPageFile, 10000000 * KiB);
    EXPECT_EQ(s.availPageFile, 0u);
    v.committedAs = v.commitLimit;
    ASSERT_TRUE(setFromMeminfo(v, true, s));
    EXPECT_EQ(s.availPageFile, 0u);
}

TEST(MemoryFigures, StrictOvercommitWithoutCommitValuesFails) {
    MeminfoValues v = modern();
    v.hasCommitValues = false;
    MemoryStatusEx s;
    s.totalPhys = 5;
    EXPECT_FALSE(setFromMeminfo(v, true, s));
    EXPECT_EQ(s.totalPhys, 5u);
    EXPECT_TRUE(setFromMeminfo(v, false, s));  // not needed otherwise
}

TEST(MemoryFigures, HugeKilobyteCountsSaturateInsteadOfWrapping) {
    MeminfoValues v = modern();
    v.memTotal = kMax / 1024 + 1;  // times 1024 would wrap to a small number
    v.memAvailable = kMax;
    v.swapTotal = kMax;
    v.swapFree = kMax;
    MemoryStatusEx s;
    ASSERT_TRUE(setFromMeminfo(v, false, s));
    EXPECT_EQ(s.totalPhys, kMax);
    EXPECT_EQ(s.availPhys, kMax);
    EXPECT_EQ(s.totalPageFile, kMax);
    EXPECT_EQ(s.availPageFile, kMax);

    v = modern();
    v.hasMemAvailable = false;
    v.memFree = kMax;
    v.buffers = kMax;
    MemoryStatusEx t;
    ASSERT_TRUE(setFromMeminfo(v, false, t));
    EXPECT_EQ(t.availPhys, t.totalPhys);
}

TEST(AddressSpace, WithoutALimitTheArchitectureDecides) {
    const AddressSpace a = addressSpace(kMax, std::uint64_t{1} << 47, 300 << 20);
    EXPECT_EQ(a.total, std::uint64_t{1} << 47);
    EXPECT_EQ(a.available, (std::uint64_t{1} << 47) - (300 << 20));
}

TEST(AddressSpace, ALimitBelowTheArchitectureWins) {
    const AddressSpace a = addressSpace(1u << 30, std::uint64_t{1} << 47, 300 << 20);
    EXPECT_EQ(a.total, 1u << 30);
    EXPECT_EQ(a.available, (1u << 30) - (300 << 20));
}

TEST(AddressSpace, MoreMappedThanTheLimitGivesZero) {
    const AddressSpace a = addressSpace(100 << 20, std::uint64_t{1} << 47, 300 << 20);
    EXPECT_EQ(a.total, 100u << 20);
    EXPECT_EQ(a.available, 0u);
}

TEST(AddressSpace, ArchitectureFigure) {
#if defined(__x86_64__) && !defined(__ILP32__)
    EXPECT_EQ(kUserAddressSpace, 140737488355328u);  // 128 TiB
#elif defined(__aarch64__)
    EXPECT_EQ(kUserAddressSpace, 281474976710656u);  // 256 TiB
#else
    GTEST_SKIP() << "no figure checked for this architecture";
#endif
}

TEST(LegacyStatus, SumsAndScalesBySysinfoUnit) {
    SysinfoCounts c;
    c.totalram = 2000000;  // 8 GB in 4 kB units: too much for 32 bits
    c.freeram = 100000;
    c.bufferram = 20000;
    c.totalswap = 250000;
    c.freeswap = 50000;
    c.memUnit = 4096;
    AddressSpace space;
    space.total = 3u << 30;
    space.available = 1u << 30;
    const MemoryStatus s = legacyStatus(c, space);
    EXPECT_EQ(s.totalPhys, 4294967295u);
    EXPECT_EQ(s.availPhys, 120000u * 4096);       // free + buffers
    EXPECT_EQ(s.totalPageFile, 4294967295u);
    EXPECT_EQ(s.availPageFile, 170000u * 4096);   // free + buffers + free swap
    EXPECT_EQ(s.totalVirtual, 3u << 30);
    EXPECT_EQ(s.availVirtual, 1u << 30);
}

TEST(LegacyStatus, SmallMachineFitsUnchanged) {
    SysinfoCounts c;
    c.totalram = 1000000000;
    c.freeram = 300000000;
    c.bufferram = 50000000;
    c.totalswap = 2000000000;
    c.freeswap = 1000000000;
    c.memUnit = 1;
    AddressSpace space;
    space.total = std::uint64_t{1} << 47;
    space.available = (std::uint64_t{1} << 47) - 1000;
    const MemoryStatus s = legacyStatus(c, space);
    EXPECT_EQ(s.totalPhys, 1000000000u);
    EXPECT_EQ(s.availPhys, 350000000u);
    EXPECT_EQ(s.totalPageFile, 3000000000u);
    EXPECT_EQ(s.availPageFile, 1350000000u);
    EXPECT_EQ(s.totalVirtual, 4294967295u);
    EXPECT_EQ(s.availVirtual, 4294967295u);
}

TEST(LegacyStatus, HugeCountsDoNotWrapBeforeSaturating) {
    SysinfoCounts c;
    c.totalram = kMax / 2;
    c.freeram = kMax / 2;
    c.bufferram = kMax / 2;
    c.totalswap = kMax;
    c.freeswap = kMax;
    c.memUnit = 4;
    const MemoryStatus s = legacyStatus(c, AddressSpace{});
    EXPECT_EQ(s.totalPhys, 4294967295u);
    EXPECT_EQ(s.availPhys, 4294967295u);
    EXPECT_EQ(s.totalPageFile, 4294967295u);
    EXPECT_EQ(s.availPageFile, 4294967295u);
    EXPECT_EQ(s.totalVirtual, 0u);
}

}  // namespace
}  // namespace qx::linuxos
