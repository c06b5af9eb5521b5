// The freeing block on Windows: the fit arithmetic, the streaming fill, and
// real blocks committed, written and released through VirtualAlloc.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <windows.h>

#include "platform/win32/freeing_plan.h"
#include "platform/win32/parallel_fill.h"
#include "platform/win32/stream_fill.h"
#include "platform/win32/win32_freeing.h"

namespace qx::win32 {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

TEST(FreeingPlan, RoomIsPhysicalAndPageFilesOrUncommittedWhicheverIsLessLessTheReserve) {
    MemoryStatusEx f;
    f.totalPhys = 16 * kGiB;
    f.availPhys = 6 * kGiB;
    f.totalPageFile = 20 * kGiB;  // 4 GiB of page files
    f.availPageFile = 12 * kGiB;
    EXPECT_EQ(roomForBlock(f), 10 * kGiB - 512 * kMiB);
    f.availPageFile = 5 * kGiB;  // much committed already
    EXPECT_EQ(roomForBlock(f), 5 * kGiB - 512 * kMiB);
    f.availPageFile = 100 * kMiB;
    EXPECT_EQ(roomForBlock(f), 0u);
    f = MemoryStatusEx{};
    EXPECT_EQ(roomForBlock(f), 0u);
}

TEST(FreeingPlan, WithoutPageFilesOnlyAvailablePhysicalMemoryCounts) {
    MemoryStatusEx f;
    f.totalPhys = 8 * kGiB;
    f.availPhys = 3 * kGiB;
    f.totalPageFile = 8 * kGiB;
    f.availPageFile = 4 * kGiB;
    EXPECT_EQ(roomForBlock(f), 3 * kGiB - 256 * kMiB);
}

TEST(FreeingPlan, AddressSpaceCapsTheBlockInWholeAllocationUnits) {
    EXPECT_EQ(bytesToHold(4 * kGiB, 128ull << 40), 4 * kGiB);
    // A large-address-aware 32-bit program on 64-bit Windows with 300 MiB in use.
    EXPECT_EQ(bytesToHold(4292870144ull, 4 * kGiB - 300 * kMiB), 4 * kGiB - 556 * kMiB);
    EXPECT_EQ(bytesToHold(kGiB, 2 * kGiB - 100 * kMiB), kGiB);
    EXPECT_EQ(bytesToHold(kGiB, 200 * kMiB), 0u);
    EXPECT_EQ(bytesToHold(kGiB, kAddressReserve + 100000) % (64 * 1024), 0u);
}

TEST(FreeingPlan, PiecesAreTheWholeBlockOnlyWithAWideAddressSpace) {
    EXPECT_EQ(firstPieceBytes(4 * kGiB, true), 4 * kGiB);
    EXPECT_EQ(firstPieceBytes(4 * kGiB, false), kLargestPiece32);
    EXPECT_EQ(firstPieceBytes(10 * kMiB, false), 10 * kMiB);
}

TEST(StreamFill, WritesExactlyTheSpacesAskedForAtAnyAlignment) {
    std::vector<char16_t> memory(300, u'x');
    for (std::size_t start : {1u, 2u, 7u, 8u}) {
        for (std::size_t count : {0u, 1u, 7u, 8u, 31u, 32u, 33u, 200u}) {
            std::fill(memory.begin(), memory.end(), u'x');
            streamSpaces(memory.data() + start, count);
            for (std::size_t i = 0; i < memory.size(); ++i) {
                const bool inside = i >= start && i < start + count;
                ASSERT_EQ(memory[i], inside ? u' ' : u'x') << "start " << start << " count " << count << " at " << i;
            }
        }
    }
}

TEST(ParallelFill, OneThreadPerProcessorAtMost8AndNoneForLessThan32MiB) {
    EXPECT_EQ(fillThreadsFor(0, 4), 1u);
    EXPECT_EQ(fillThreadsFor(63 * kMiB, 4), 1u);
    EXPECT_EQ(fillThreadsFor(64 * kMiB, 4), 2u);
    EXPECT_EQ(fillThreadsFor(kGiB, 4), 4u);
    EXPECT_EQ(fillThreadsFor(kGiB, 0), 1u);
    EXPECT_EQ(fillThreadsFor(3 * kGiB, 64), 8u);  // fits a 32-bit size_t too
    EXPECT_GE(usableProcessors(), 1u);
}

TEST(ParallelFill, WritesExactlyTheSpacesAskedForWithAnyNumberOfThreads) {
    constexpr std::size_t kUnit = 32 * 1024;  // characters in 64 KiB
    std::vector<char16_t> memory(5 * kUnit + 100, u'x');
    for (unsigned threads : {1u, 2u, 3u, 5u, 8u, 20u}) {
        for (std::size_t count : {std::size_t{0}, std::size_t{10}, kUnit - 1, 2 * kUnit + 7, 5 * kUnit + 98}) {
            std::fill(memory.begin(), memory.end(), u'x');
            fillSpacesInParallel(memory.data() + 1, count, threads);
            for (std::size_t i = 0; i < memory.size(); ++i) {
                const bool inside = i >= 1 && i < 1 + count;
                ASSERT_EQ(memory[i], inside ? u' ' : u'x') << threads << " threads, count " << count << " at " << i;
            }
        }
    }
}

// Counts the calls and checks the block's contents before it goes back.
struct Recorder {
    static inline int commits = 0;
    static inline int releases = 0;
    static inline std::uint64_t committedBytes = 0;
    static inline std::uint64_t spacesSeen = 0;
    static inline std::vector<std::pair<void*, std::size_t>> pieces;

    static void reset() {
        commits = releases = 0;
        committedBytes = spacesSeen = 0;
        pieces.clear();
    }
    static void* commit(std::size_t bytes) {
        ++commits;
        void* memory = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (memory != nullptr) {
            committedBytes += bytes;
            pieces.emplace_back(memory, bytes);
        }
        return memory;
    }
    static void release(void* memory) {
        ++releases;
        for (auto& [piece, bytes] : pieces) {
            if (piece != memory) continue;
            const auto* chars = static_cast<const char16_t*>(piece);
            for (std::size_t i = 0; i < bytes / 2; ++i) spacesSeen += chars[i] == u' ';
        }
        ::VirtualFree(memory, 0, MEM_RELEASE);
    }
    static bool plenty(MemoryStatusEx& f) {
        f.totalPhys = 16 * kGiB;
        f.availPhys = 8 * kGiB;
        f.totalPageFile = 16 * kGiB;
        f.availPageFile = 8 * kGiB;
        f.availVirtual = 128ull << 40;
        return true;
    }
    static bool scarce(MemoryStatusEx& f) {
        plenty(f);
        f.availPhys = 300 * kMiB;
        return true;
    }
    static bool unreadable(MemoryStatusEx&) { return false; }
    static void* refuse(std::size_t) {
        ++commits;
        return nullptr;
    }
    // A fragmented address space: nothing larger than 32 MiB in one piece.
    static void* fragmented(std::size_t bytes) { return bytes > 32 * kMiB ? (++commits, nullptr) : commit(bytes); }
    static void* twoOnly(std::size_t bytes) { return commits >= 2 ? (++commits, nullptr) : commit(bytes); }
    static bool narrow(MemoryStatusEx& f) {
        plenty(f);
        f.availVirtual = 3 * kGiB;
        return true;
    }
    static bool nearlyFull(MemoryStatusEx& f) {
        plenty(f);
        f.availVirtual = kAddressReserve + 40 * kMiB;
        return true;
    }
};

struct FreeingTest : ::testing::Test {
    void SetUp() override { Recorder::reset(); }
};

TEST_F(FreeingTest, ASmallRealBlockIsCommittedWrittenAndReleased) {
    Win32Freeing freeing({Recorder::plenty, Recorder::commit, Recorder::release});
    const std::uint64_t characters = 8 * kMiB + 3;
    ASSERT_TRUE(freeing.createBlock(characters));
    EXPECT_EQ(freeing.heldBytes(), characters * 2);
    EXPECT_EQ(Recorder::committedBytes, characters * 2);
    freeing.releaseBlock();
    EXPECT_EQ(freeing.heldBytes(), 0u);
    EXPECT_EQ(Recorder::releases, Recorder::commits);
    EXPECT_EQ(Recorder::spacesSeen, characters);
}

TEST_F(FreeingTest, ABlockStillHeldIsReleasedBeforeTheNextAndAtTheEnd) {
    {
        Win32Freeing freeing({Recorder::plenty, Recorder::commit, Recorder::release});
        ASSERT_TRUE(freeing.createBlock(kMiB));
        ASSERT_TRUE(freeing.createBlock(kMiB));
        EXPECT_EQ(Recorder::releases, 1);
    }
    EXPECT_EQ(Recorder::releases, 2);
}

TEST_F(FreeingTest, AnEmptyBlockCommitsNothing) {
    Win32Freeing freeing({Recorder::plenty, Recorder::commit, Recorder::release});
    EXPECT_TRUE(freeing.createBlock(0));
    EXPECT_EQ(Recorder::commits, 0);
}

TEST_F(FreeingTest, ABlockThatDoesNotFitIsRefusedWithoutTouchingAnything) {
    Win32Freeing freeing({Recorder::scarce, Recorder::commit, Recorder::release});
    EXPECT_FALSE(freeing.createBlock(64 * kMiB / 2));
    EXPECT_FALSE(freeing.createBlock(UINT64_MAX / 2 + 1));
    EXPECT_EQ(Recorder::commits, 0);
    EXPECT_EQ(freeing.heldBytes(), 0u);
}

TEST_F(FreeingTest, UnreadableFiguresRefuseTheBlock) {
    Win32Freeing freeing({Recorder::unreadable, Recorder::commit, Recorder::release});
    EXPECT_FALSE(freeing.createBlock(kMiB));
    EXPECT_EQ(Recorder::commits, 0);
}

TEST_F(FreeingTest, ACommitThatFailsAnywayTakesTheFailurePath) {
    Win32Freeing freeing({Recorder::plenty, Recorder::refuse, Recorder::release});
    EXPECT_FALSE(freeing.createBlock(kMiB));
    EXPECT_EQ(freeing.heldBytes(), 0u);
    EXPECT_EQ(Recorder::releases, 0);
}

// The 32-bit program's way of holding a block, run here with the address
// space declared narrow.
TEST_F(FreeingTest, ANarrowAddressSpaceHoldsTheBlockInPieces) {
    Win32Freeing freeing({Recorder::narrow, Recorder::commit, Recorder::release, false});
    ASSERT_TRUE(freeing.createBlock(300 * kMiB));  // 600 MiB: 256 + 256 + 88
    EXPECT_EQ(Recorder::commits, 3);
    EXPECT_EQ(freeing.heldBytes(), 600 * kMiB);
    freeing.releaseBlock();
    EXPECT_EQ(Recorder::releases, 3);
    EXPECT_EQ(Recorder::spacesSeen, 300 * kMiB);
}

TEST_F(FreeingTest, PiecesThatCantBeHadAreTriedAtHalfTheSize) {
    Win32Freeing freeing({Recorder::narrow, Recorder::fragmented, Recorder::release, false});
    ASSERT_TRUE(freeing.createBlock(50 * kMiB));  // 100 MiB: 100 and 50 refused, then 32 MiB pieces
    EXPECT_EQ(Recorder::committedBytes, 100 * kMiB);
    EXPECT_EQ(freeing.heldBytes(), 100 * kMiB);
    freeing.releaseBlock();
    EXPECT_EQ(Recorder::spacesSeen, 50 * kMiB);
}

TEST_F(FreeingTest, ANarrowAddressSpaceCapsTheBlockAtWhatItCanHold) {
    Win32Freeing freeing({Recorder::nearlyFull, Recorder::commit, Recorder::release, false});
    ASSERT_TRUE(freeing.createBlock(50 * kMiB));
    EXPECT_EQ(freeing.heldBytes(), 40 * kMiB);
    freeing.releaseBlock();
    EXPECT_EQ(Recorder::spacesSeen, 20 * kMiB);
}

TEST_F(FreeingTest, ANarrowAddressSpaceGivesUpBelowTheSmallestPiece) {
    Win32Freeing freeing({Recorder::narrow, Recorder::refuse, Recorder::release, false});
    EXPECT_FALSE(freeing.createBlock(4 * kMiB));
    EXPECT_EQ(freeing.heldBytes(), 0u);
    EXPECT_EQ(Recorder::commits, 4);  // 8, 4, 2 and 1 MiB
}

TEST_F(FreeingTest, APieceThatCantBeHadReleasesThoseHeld) {
    Win32Freeing freeing({Recorder::narrow, Recorder::twoOnly, Recorder::release, false});
    EXPECT_FALSE(freeing.createBlock(300 * kMiB));  // 256 and 256 MiB held, then nothing
    EXPECT_EQ(Recorder::releases, 2);
    EXPECT_EQ(freeing.heldBytes(), 0u);
}

TEST_F(FreeingTest, AWideAddressSpaceTakesTheBlockInOnePieceOrNotAtAll) {
    Win32Freeing freeing({Recorder::narrow, Recorder::fragmented, Recorder::release, true});
    EXPECT_FALSE(freeing.createBlock(50 * kMiB));
    EXPECT_EQ(Recorder::commits, 1);
    EXPECT_EQ(freeing.heldBytes(), 0u);
}

TEST_F(FreeingTest, AnOversizeBlockOnThisMachineIsRefusedWithoutCommitting) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    Win32Freeing freeing({nullptr, Recorder::commit, Recorder::release});
    EXPECT_FALSE(freeing.createBlock(status.ullAvailPageFile / 2 + 1));
    EXPECT_EQ(Recorder::commits, 0);
}

TEST_F(FreeingTest, ASmallBlockOnThisMachineFitsWithTheRealFigures) {
    Win32Freeing freeing({nullptr, Recorder::commit, Recorder::release});
    ASSERT_TRUE(freeing.createBlock(32 * kMiB));
    EXPECT_EQ(Recorder::committedBytes, 64 * kMiB);
    freeing.releaseBlock();
    EXPECT_EQ(Recorder::spacesSeen, 32 * kMiB);
}

// Beyond 2 GiB: a 32-bit program holds it only in its large address space
// (on 64-bit Windows).
TEST_F(FreeingTest, TheSystemCallsDoTheSame) {
    Win32Freeing freeing;
    ASSERT_TRUE(freeing.createBlock(kGiB + 128 * kMiB));
    EXPECT_EQ(freeing.heldBytes(), 2 * kGiB + 256 * kMiB);
    freeing.releaseBlock();
    EXPECT_EQ(freeing.heldBytes(), 0u);
}

}  // namespace
}  // namespace qx::win32
