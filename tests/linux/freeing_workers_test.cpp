#include "platform/linux/block_workers.h"

#include <csignal>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "freeing_test_support.h"
#include "platform/linux/commit_check.h"

namespace qx::linuxos {
namespace {

using freeing_test::inChildProcess;
using freeing_test::noChildrenLeft;
using freeing_test::dieByKill;
using freeing_test::expectAllSpaces;
using freeing_test::kNotAllSpaces;
using freeing_test::processSize;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kHugePageCharacters = kBlockAlignment / sizeof(char16_t);


// An odd size: 64 MiB and three characters, so a part ends mid-vector.
constexpr std::uint64_t kOddBlock = 32 * kMiB + 3;

void expectOddBlockAllSpaces(const char16_t* part, std::size_t characters) {
    if (characters != kOddBlock) ::_exit(kNotAllSpaces);
    expectAllSpaces(part, characters);
}

void exitWithThree(const char16_t*, std::size_t) { ::_exit(3); }

// For a block of three huge pages in two parts: only the short last part fails.
void lastPartFails(const char16_t*, std::size_t characters) {
    if (characters == kHugePageCharacters) ::_exit(3);
}

TEST(WorkersFor, OnePerProcessorWithinTheBounds) {
    EXPECT_EQ(workersFor(0, 8), 1u);
    EXPECT_EQ(workersFor(64 * kMiB, 8), 1u);
    EXPECT_EQ(workersFor(kMinWorkerBytes * 2, 8), 2u);
    EXPECT_EQ(workersFor(std::uint64_t{4} << 30, 2), 2u);
    EXPECT_EQ(workersFor(std::uint64_t{4} << 30, 64), kMaxBlockWorkers);
    EXPECT_EQ(workersFor(std::uint64_t{4} << 30, 1), 1u);
    EXPECT_EQ(workersFor(std::uint64_t{4} << 30, 0), 1u);
}

TEST(SplitBlock, PartsAreWholeHugePagesAndAddUp) {
    for (std::uint64_t characters :
         {std::uint64_t{1}, kHugePageCharacters - 1, kHugePageCharacters, kHugePageCharacters + 1,
          3 * kHugePageCharacters, kOddBlock, std::uint64_t{3} << 30}) {
        for (unsigned workers = 1; workers <= kMaxBlockWorkers; ++workers) {
            const BlockParts parts = splitBlock(characters, workers);
            ASSERT_GE(parts.count, 1u);
            ASSERT_LE(parts.count, workers);
            std::uint64_t sum = 0;
            for (unsigned i = 0; i < parts.count; ++i) {
                EXPECT_NE(parts.characters[i], 0u);
                if (i + 1 < parts.count) {
                    EXPECT_EQ(parts.characters[i] % kHugePageCharacters, 0u);
                }
                sum += parts.characters[i];
            }
            EXPECT_EQ(sum, characters) << characters << " in " << workers;
        }
    }
    const BlockParts even = splitBlock(std::uint64_t{3} << 30, 2);
    ASSERT_EQ(even.count, 2u);
    EXPECT_EQ(even.characters[0], std::uint64_t{3} << 29);
    EXPECT_EQ(splitBlock(3 * kHugePageCharacters, 2).characters[1], kHugePageCharacters);
}

TEST(BlockWorkers, ZeroCharactersStartNothing) {
    BlockWorkers workers;
    EXPECT_TRUE(workers.start(0, 2));
    EXPECT_TRUE(workers.pids().empty());
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWorkers, WritesEverySpaceOfAnOddBlock) {
    BlockWorkers workers;
    ASSERT_TRUE(workers.start(kOddBlock, 1, expectOddBlockAllSpaces));
    EXPECT_EQ(workers.pids().size(), 1u);
    workers.stop();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWorkers, WorkWhenTheProgramStartedWithoutStandardStreams) {
    const int status = inChildProcess([] {
        ::close(0), ::close(1), ::close(2);
        BlockWorkers workers;
        return workers.start(2 * kHugePageCharacters, 2) ? 0 : 1;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(BlockWorkers, HoldsTheBlockInWorkersThatVolunteerForTheOomKiller) {
    const std::uint64_t characters = 128 * kMiB;  // 256 MiB in two parts
    const std::uint64_t before = processSize().resident;
    BlockWorkers workers;
    ASSERT_TRUE(workers.start(characters, 2, expectAllSpaces));
    ASSERT_EQ(workers.pids().size(), 2u);

    std::uint64_t held = 0;
    for (const pid_t pid : workers.pids()) {
        const std::string id = std::to_string(pid);
        held += processSize(id).resident;
        std::ifstream adjustment("/proc/" + id + "/oom_score_adj");
        int value = 0;
        adjustment >> value;
        EXPECT_EQ(value, 1000) << "worker " << id;
    }
    // The workers' pages are really there, not just reserved ...
    EXPECT_GE(held, characters * sizeof(char16_t));
    // ... and none of it is in this process.
    EXPECT_LT(processSize().resident, before + 16 * kMiB);

    workers.stop();
    EXPECT_TRUE(workers.pids().empty());
    EXPECT_TRUE(noChildrenLeft());
    EXPECT_LT(processSize().resident, before + 16 * kMiB);
}

TEST(BlockWorkers, AWorkerKilledMeansNoBlock) {
    BlockWorkers workers;
    EXPECT_FALSE(workers.start(8 * kMiB, 1, dieByKill));
    EXPECT_TRUE(workers.pids().empty());
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWorkers, AWorkerEndingWithAnErrorMeansNoBlock) {
    BlockWorkers workers;
    EXPECT_FALSE(workers.start(8 * kMiB, 1, exitWithThree));
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWorkers, OneFailingPartFailsTheBlockAndEndsTheOtherWorkers) {
    BlockWorkers workers;
    EXPECT_FALSE(workers.start(3 * kHugePageCharacters, 2, lastPartFails));
    EXPECT_TRUE(noChildrenLeft());
    // The same block succeeds when no part fails: the hook is what failed it.
    EXPECT_TRUE(workers.start(3 * kHugePageCharacters, 2, expectAllSpaces));
    EXPECT_EQ(workers.pids().size(), 2u);
}

TEST(BlockWorkers, StartingAgainReplacesTheBlockHeld) {
    BlockWorkers workers;
    ASSERT_TRUE(workers.start(4 * kMiB, 1));
    const pid_t first = workers.pids()[0];
    ASSERT_TRUE(workers.start(4 * kMiB, 1));
    EXPECT_NE(workers.pids()[0], first);
    // The first worker is gone and reaped: it is no child of ours any more.
    EXPECT_EQ(::waitpid(first, nullptr, WNOHANG), -1);
    workers.stop();
    workers.stop();  // harmless twice
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWorkers, DestroyingEndsTheWorkers) {
    {
        BlockWorkers workers;
        ASSERT_TRUE(workers.start(4 * kMiB, 1));
    }
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWorkers, AnAddressLimitMeansNoBlockAndEveryoneLives) {
    // In a process of its own, as the limit is for good.
    const int status = inChildProcess([] {
        const std::uint64_t mapped = processSize().mapped;
        if (mapped == 0) return 20;
        const rlimit limit{mapped + 64 * kMiB, mapped + 64 * kMiB};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) return 21;
        BlockWorkers workers;
        // 512 MiB can't be mapped: the worker must fail, not be killed.
        if (workers.start(256 * kMiB, 1)) return 22;
        if (!noChildrenLeft()) return 23;
        // While a small block still fits.
        if (!workers.start(4 * kMiB, 1, expectAllSpaces)) return 24;
        return 0;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace qx::linuxos
