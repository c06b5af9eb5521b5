#include "platform/freeing_rules.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

TEST(FreeingRules, ReserveIsAThirtySecondOfMemoryButNeverBelow256MiB) {
    EXPECT_EQ(freeingReserve(0), 256 * kMiB);
    EXPECT_EQ(freeingReserve(8 * kGiB), 256 * kMiB);
    EXPECT_EQ(freeingReserve(16 * kGiB), 512 * kMiB);
    EXPECT_EQ(freeingReserve(24 * kGiB), 768 * kMiB);
}

TEST(FreeingRules, ABlockMayTake10SecondsAnd2MoreForEachGiBBegun) {
    EXPECT_EQ(blockDeadlineMs(0), 10000);
    EXPECT_EQ(blockDeadlineMs(1), 12000);
    EXPECT_EQ(blockDeadlineMs(kGiB), 12000);
    EXPECT_EQ(blockDeadlineMs(kGiB + 1), 14000);
    EXPECT_EQ(blockDeadlineMs(24 * kGiB), 58000);
    EXPECT_EQ(blockDeadlineMs(UINT64_MAX), 10000 + 2000 * (std::int64_t{1} << 20));
}

}  // namespace
}  // namespace qx
