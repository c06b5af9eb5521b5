#include "platform/linux/commit_check.h"

#include <gtest/gtest.h>

namespace qx::linuxos {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// A 16 GiB machine without swap, 8 GiB available: the reserve is 512 MiB.
FreeingFigures plainMachine() {
    FreeingFigures figures;
    figures.memTotal = 16 * kGiB;
    figures.memAvailable = 8 * kGiB;
    return figures;
}

TEST(BlockFits, UpToAvailableLessTheReserve) {
    const FreeingFigures figures = plainMachine();
    EXPECT_EQ(roomForBlock(figures), 8 * kGiB - 512 * kMiB);
    EXPECT_TRUE(blockFits(figures, 0));
    EXPECT_TRUE(blockFits(figures, 8 * kGiB - 512 * kMiB));
    EXPECT_FALSE(blockFits(figures, 8 * kGiB - 512 * kMiB + 1));
    EXPECT_FALSE(blockFits(figures, 8 * kGiB));
}

TEST(BlockFits, NothingWhenTheReserveTakesAllThereIs) {
    FreeingFigures figures = plainMachine();
    figures.memAvailable = 300 * kMiB;
    figures.memTotal = 2 * kGiB;  // reserve 256 MiB
    EXPECT_EQ(roomForBlock(figures), 44 * kMiB);
    figures.memAvailable = 200 * kMiB;
    EXPECT_EQ(roomForBlock(figures), 0u);
    EXPECT_TRUE(blockFits(figures, 0));
    EXPECT_FALSE(blockFits(figures, 1));
}

TEST(BlockFits, CountsFreeSwapButKeepsAnEighthOfItFree) {
    FreeingFigures figures = plainMachine();
    figures.memAvailable = 2 * kGiB;
    figures.swapTotal = 8 * kGiB;
    figures.swapFree = 8 * kGiB;
    EXPECT_EQ(usableSwap(figures), 7 * kGiB);
    EXPECT_EQ(roomForBlock(figures), 9 * kGiB - 512 * kMiB);

    figures.swapFree = 512 * kMiB;  // already 15/16 used
    EXPECT_EQ(usableSwap(figures), 0u);
    EXPECT_EQ(roomForBlock(figures), 2 * kGiB - 512 * kMiB);
}

TEST(BlockFits, CountsZramSwapAtHalf) {
    FreeingFigures figures = plainMachine();
    figures.memAvailable = 2 * kGiB;
    figures.swapTotal = 10 * kGiB;
    figures.swapFree = 10 * kGiB;
    figures.zramSwapFree = 8 * kGiB;  // and 2 GiB on disk
    EXPECT_EQ(usableSwap(figures), 2 * kGiB + 4 * kGiB - 10 * kGiB / 8);

    // More zram than free swap in all can't count for more than there is.
    figures.zramSwapFree = 20 * kGiB;
    EXPECT_EQ(usableSwap(figures), 5 * kGiB - 10 * kGiB / 8);
}

TEST(BlockFits, StrictOvercommitAlsoLimitsToTheCommitLeft) {
    FreeingFigures figures = plainMachine();
    figures.commitLimit = 10 * kGiB;
    figures.committedAs = 7 * kGiB;
    // Heuristic overcommit: the commit figures don't matter.
    EXPECT_EQ(roomForBlock(figures), 8 * kGiB - 512 * kMiB);

    figures.strictOvercommit = true;
    EXPECT_EQ(roomForBlock(figures), 3 * kGiB - 512 * kMiB);
    EXPECT_TRUE(blockFits(figures, 3 * kGiB - 512 * kMiB));
    EXPECT_FALSE(blockFits(figures, 3 * kGiB - 512 * kMiB + 1));

    figures.committedAs = 11 * kGiB;  // past the limit already
    EXPECT_EQ(roomForBlock(figures), 0u);

    // Where the commit left is plenty, memory is still the limit.
    figures.commitLimit = 100 * kGiB;
    figures.committedAs = 0;
    EXPECT_EQ(roomForBlock(figures), 8 * kGiB - 512 * kMiB);
}

TEST(BlockFits, AddressLimitLessTheAlignmentSlack) {
    FreeingFigures figures = plainMachine();
    figures.addressRoom = 1 * kGiB;
    EXPECT_EQ(roomForBlock(figures), 1 * kGiB - kBlockAlignment);
    figures.addressRoom = kBlockAlignment;
    EXPECT_EQ(roomForBlock(figures), 0u);
}

TEST(BlockFits, CgroupLimitLessTheReserve) {
    FreeingFigures figures = plainMachine();
    figures.cgroupRoom = 3 * kGiB;
    EXPECT_EQ(roomForBlock(figures), 3 * kGiB - 512 * kMiB);
    figures.cgroupRoom = 100 * kMiB;
    EXPECT_EQ(roomForBlock(figures), 0u);
}

TEST(BlockFits, TheTightestLimitWins) {
    FreeingFigures figures = plainMachine();
    figures.strictOvercommit = true;
    figures.commitLimit = 20 * kGiB;
    figures.committedAs = 14 * kGiB;   // 6 GiB - reserve
    figures.cgroupRoom = 5 * kGiB;     // 5 GiB - reserve
    figures.addressRoom = 4 * kGiB;    // 4 GiB - 2 MiB
    EXPECT_EQ(roomForBlock(figures), 4 * kGiB - kBlockAlignment);
    figures.addressRoom = kNoLimit;
    EXPECT_EQ(roomForBlock(figures), 5 * kGiB - 512 * kMiB);
    figures.cgroupRoom = kNoLimit;
    EXPECT_EQ(roomForBlock(figures), 6 * kGiB - 512 * kMiB);
}

TEST(BlockFits, HugeFiguresDoNotWrapAround) {
    FreeingFigures figures = plainMachine();
    figures.memAvailable = kNoLimit - kGiB;
    figures.swapTotal = 8 * kGiB;
    figures.swapFree = 8 * kGiB;
    EXPECT_EQ(roomForBlock(figures), kNoLimit - 512 * kMiB);
    EXPECT_TRUE(blockFits(figures, kNoLimit - 512 * kMiB));
    EXPECT_FALSE(blockFits(figures, kNoLimit));
}

TEST(RefusingLimit, NamesTheLimitThatLeavesTheLeastRoom) {
    FreeingFigures figures = plainMachine();  // room 7.5 GiB
    EXPECT_EQ(refusingLimit(figures, 4 * kGiB), FreeingLimit::None);
    EXPECT_EQ(refusingLimit(figures, 8 * kGiB), FreeingLimit::Memory);

    figures.strictOvercommit = true;
    figures.commitLimit = 6 * kGiB;
    figures.committedAs = 1 * kGiB;  // 5 GiB less the reserve
    EXPECT_EQ(refusingLimit(figures, 6 * kGiB), FreeingLimit::CommitLimit);
    EXPECT_EQ(refusingLimit(figures, 4 * kGiB), FreeingLimit::None);

    figures.cgroupRoom = 3 * kGiB;
    EXPECT_EQ(refusingLimit(figures, 4 * kGiB), FreeingLimit::ControlGroup);

    figures.addressRoom = 1 * kGiB;
    EXPECT_EQ(refusingLimit(figures, 4 * kGiB), FreeingLimit::AddressSpace);
    // Whatever refuses, it is what roomForBlock counted.
    EXPECT_EQ(refusingLimit(figures, roomForBlock(figures)), FreeingLimit::None);
    EXPECT_NE(refusingLimit(figures, roomForBlock(figures) + 1), FreeingLimit::None);
}

TEST(RefusingLimit, EachLimitHasItsOwnName) {
    EXPECT_STREQ(freeingLimitName(FreeingLimit::CommitLimit),
                 "the commit limit (CommitLimit less Committed_AS)");
    EXPECT_STREQ(freeingLimitName(FreeingLimit::AddressSpace), "the address-space limit (RLIMIT_AS)");
    EXPECT_STRNE(freeingLimitName(FreeingLimit::Memory), freeingLimitName(FreeingLimit::ControlGroup));
}

}  // namespace
}  // namespace qx::linuxos
