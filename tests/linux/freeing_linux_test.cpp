#include "platform/linux/linux_freeing.h"

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "freeing_test_support.h"
#include "platform/linux/freeing_figures.h"

namespace qx::linuxos {
namespace {

using freeing_test::inChildProcess;
using freeing_test::noChildrenLeft;
using freeing_test::dieByKill;
using freeing_test::expectAllSpaces;
using freeing_test::kNotAllSpaces;
using freeing_test::processSize;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;


// 512 MiB and a bit: big enough for several workers, were they allowed.
constexpr std::uint64_t kBigBlock = 256 * kMiB + 5;

void expectWholeBigBlock(const char16_t* part, std::size_t characters) {
    if (characters != kBigBlock) ::_exit(kNotAllSpaces);
    expectAllSpaces(part, characters);
}

// Made-up machines: 4 GiB, of which 1 GiB or only 300 MiB available, no swap.
bool roomyFigures(FreeingFigures& figures) {
    figures = {};
    figures.memTotal = 4 * kGiB;
    figures.memAvailable = 1 * kGiB;
    return true;
}

bool crampedFigures(FreeingFigures& figures) {
    roomyFigures(figures);
    figures.memAvailable = 300 * kMiB;
    return true;
}

bool unreadableFigures(FreeingFigures&) { return false; }

TEST(LinuxFreeing, AnEmptyBlockSucceedsAndStartsNothing) {
    LinuxFreeing freeing;
    EXPECT_TRUE(freeing.createBlock(0));
    EXPECT_TRUE(noChildrenLeft());
    freeing.releaseBlock();
}

TEST(LinuxFreeing, ReleasingWithoutABlockIsHarmless) {
    LinuxFreeing freeing;
    freeing.releaseBlock();
    freeing.releaseBlock();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(LinuxFreeing, WritesARealBlockAndGivesItBack) {
    LinuxFreeing::Options options;
    options.afterWrite = expectAllSpaces;
    LinuxFreeing freeing(options);
    const std::uint64_t before = processSize().resident;

    ASSERT_TRUE(freeing.createBlock(32 * kMiB));  // 64 MiB
    EXPECT_FALSE(noChildrenLeft());  // held by a worker until released
    freeing.releaseBlock();

    EXPECT_TRUE(noChildrenLeft());
    EXPECT_LT(processSize().resident, before + 16 * kMiB);
}

TEST(LinuxFreeing, RefusesABlockBiggerThanTheRoomLeft) {
    // 300 MiB available less the 256 MiB reserve leaves 44 MiB.
    LinuxFreeing::Options options;
    options.readFigures = crampedFigures;
    LinuxFreeing cramped(options);
    EXPECT_FALSE(cramped.createBlock(32 * kMiB));  // 64 MiB
    EXPECT_TRUE(noChildrenLeft());
    EXPECT_TRUE(cramped.createBlock(16 * kMiB));  // 32 MiB
    cramped.releaseBlock();

    // The same 64 MiB where there is room: the figures made the difference.
    options.readFigures = roomyFigures;
    LinuxFreeing roomy(options);
    EXPECT_TRUE(roomy.createBlock(32 * kMiB));
    roomy.releaseBlock();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(LinuxFreeing, RefusesWhenTheFiguresCannotBeRead) {
    LinuxFreeing::Options options;
    options.readFigures = unreadableFigures;
    LinuxFreeing freeing(options);
    EXPECT_FALSE(freeing.createBlock(1024));
    EXPECT_TRUE(noChildrenLeft());
}

TEST(LinuxFreeing, AKilledWorkerMeansFalse) {
    // Figures with room, so the block gets past the fit check on any
    // machine and it is the worker's death that fails it.
    LinuxFreeing::Options options;
    options.afterWrite = dieByKill;
    options.readFigures = roomyFigures;
    LinuxFreeing freeing(options);
    EXPECT_FALSE(freeing.createBlock(32 * kMiB));
    EXPECT_EQ(freeing.refusingLimit(), FreeingLimit::None);
    EXPECT_EQ(freeing.workersFailure(), BlockWorkers::Failure::WorkerGone);
    EXPECT_NE(freeing.blockRefusal().find("worker process ended"), std::string::npos)
        << freeing.blockRefusal();
    EXPECT_TRUE(noChildrenLeft());
    freeing.releaseBlock();

    // The same block without the kill is written: the kill made the difference.
    options.afterWrite = expectAllSpaces;
    LinuxFreeing healthy(options);
    EXPECT_TRUE(healthy.createBlock(32 * kMiB));
    healthy.releaseBlock();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(LinuxFreeing, AHungWorkerMeansFalseAtTheDeadline) {
    LinuxFreeing::Options options;
    options.afterWrite = [](const char16_t*, std::size_t) {
        for (;;) ::pause();
    };
    options.readFigures = roomyFigures;
    options.deadlineMs = 300;
    LinuxFreeing freeing(options);
    EXPECT_FALSE(freeing.createBlock(4 * kMiB));
    EXPECT_EQ(freeing.workersFailure(), BlockWorkers::Failure::TimedOut);
    EXPECT_TRUE(noChildrenLeft());
}

TEST(LinuxFreeing, ARefusedBlockNamesTheLimitThatRefusedIt) {
    LinuxFreeing::Options options;
    options.readFigures = crampedFigures;
    LinuxFreeing cramped(options);
    EXPECT_FALSE(cramped.createBlock(32 * kMiB));
    EXPECT_EQ(cramped.refusingLimit(), FreeingLimit::Memory);
    EXPECT_NE(cramped.blockRefusal().find("64 MiB"), std::string::npos) << cramped.blockRefusal();
    EXPECT_NE(cramped.blockRefusal().find("the memory available"), std::string::npos);
    // A block that fits leaves nothing to say.
    EXPECT_TRUE(cramped.createBlock(16 * kMiB));
    EXPECT_EQ(cramped.blockRefusal(), "");
    cramped.releaseBlock();
}

TEST(LinuxFreeing, KeepsToTheMostWorkersAllowed) {
    LinuxFreeing::Options options;
    options.afterWrite = expectWholeBigBlock;
    options.maxWorkers = 1;
    LinuxFreeing freeing(options);
    ASSERT_TRUE(freeing.createBlock(kBigBlock));
    freeing.releaseBlock();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(LinuxFreeing, MoreThanTheMachineHasEndsFalseWithEveryoneAlive) {
    FreeingFigures figures;
    ASSERT_TRUE(readFreeingFigures(figures));
    const std::uint64_t tooMuch = figures.memAvailable + figures.swapFree + kGiB;
    // In a process of its own with an address limit, so that even a broken
    // check couldn't press this machine for the memory.
    const int status = inChildProcess([tooMuch] {
        const std::uint64_t mapped = processSize().mapped;
        const rlimit limit{mapped + 256 * kMiB, mapped + 256 * kMiB};
        if (mapped == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) return 20;
        LinuxFreeing freeing;
        if (freeing.createBlock(tooMuch / sizeof(char16_t))) return 21;
        if (!noChildrenLeft()) return 22;
        return 0;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FreeingFigures, DescribeThisMachine) {
    // Each figure against another read in the same /proc/meminfo, or against
    // what can't change while the machine runs, so load can't fail it.
    FreeingFigures figures;
    ASSERT_TRUE(readFreeingFigures(figures));
    EXPECT_GT(figures.memTotal, 0u);
    EXPECT_LE(figures.memAvailable, figures.memTotal);
    EXPECT_LE(figures.swapFree, figures.swapTotal);
    // /proc/swaps is read a moment after /proc/meminfo; the zram share is
    // held to the swap free as /proc/meminfo had it.
    EXPECT_LE(figures.zramSwapFree, figures.swapFree);
    EXPECT_LT(roomForBlock(figures), figures.memAvailable + figures.swapFree);
    // MemTotal is the kernel's count of usable pages, as sysconf gives it.
    EXPECT_EQ(figures.memTotal, static_cast<std::uint64_t>(::sysconf(_SC_PHYS_PAGES)) *
                                    static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)));
}

TEST(FreeingFigures, SeeTheAddressLimit) {
    const int status = inChildProcess([] {
        FreeingFigures figures;
        const std::uint64_t mapped = processSize().mapped;
        const rlimit limit{mapped + 512 * kMiB, RLIM_INFINITY};
        if (mapped == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) return 22;
        if (!readFreeingFigures(figures)) return 23;
        // What is left under the limit, give or take what reading mapped.
        if (figures.addressRoom > 512 * kMiB || figures.addressRoom < 448 * kMiB) return 24;
        if (roomForBlock(figures) > 512 * kMiB) return 25;
        return 0;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace qx::linuxos
