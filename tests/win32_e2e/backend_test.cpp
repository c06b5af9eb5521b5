// The Windows backend against real windows and timers (under Wine on a
// private display): the model's changes reach the child windows through the
// shared change tracking, the model's timers tick through the dispatcher,
// a timer destroyed by its own tick is harmless, a handler's ProcessExit
// ends the message loop, and the freeing block is made on a thread of its
// own while the message loop goes on.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "platform/system.h"
#include "platform/ui/model.h"
#include "platform/win32/ui/win32_backend.h"
#include "platform/win32/ui/win32_periodic_timers.h"
#include "platform/win32/ui/win32_system.h"
#include "platform/win32/ui/win32_window_host.h"
#include "platform/win32/parallel_fill.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_freeing.h"

namespace qx::win32ui {
namespace {

using namespace win32;  // the OS layer under the window layer

struct NoMemory final : MemorySystem {
    bool globalMemoryStatusEx(MemoryStatusEx&) override { return false; }
    void globalMemoryStatus(MemoryStatus&) override {}
    bool getSystemTimes(SystemTimes&) override { return false; }
};

struct NoFreeing final : FreeingSystem {
    bool createBlock(std::uint64_t) override { return false; }
    void releaseBlock() override {}
};

struct CountingForm : ui::Form {
    CountingForm()
        : ui::Form("frmCount"),
          lblCount(*this, "lblCount", ui::Kind::Label, nullptr, 150, 150, 1500, 300),
          picBar(*this, "picBar", ui::Kind::PictureBox, nullptr, 150, 600, 1500, 300),
          tmrCount(*this, "tmrCount", 30, true, "") {
        setCaption("Win32Backend test");
        setClientSize(3000, 1500);
        lblCount.setCaption("0");
    }
    ui::Control lblCount, picBar;
    ui::Timer tmrCount;
};

std::string textOf(HWND window) {
    wchar_t text[256] = {};
    const int length = GetWindowTextW(window, text, 256);
    return toUtf8(std::wstring_view(text, static_cast<std::size_t>(length)));
}

// Handles messages until `done` or two seconds have passed.
template <typename Done>
bool pumpUntil(Done done) {
    const ULONGLONG end = GetTickCount64() + 2000;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return true;
}

TEST(Win32Backend, ModelChangesReachTheWindowsAndTimersTickThroughTheDispatcher) {
    NoMemory memory;
    NoFreeing freeing;
    Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
    CountingForm form;
    int ticks = 0;
    form.tmrCount.onTimer = [&] {
        ++ticks;
        form.lblCount.setCaption(std::to_string(ticks));
        form.picBar.setWidth(1500 - 150 * ticks);
    };
    backend.attach(form);
    backend.dispatcher().deliver([&] { form.load(); });

    FormView* view = backend.windows().viewOf(form);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(textOf(view->handle()), "Win32Backend test");
    EXPECT_TRUE(IsWindowVisible(view->handle()));
    HWND label = view->window().controlHandle(form.lblCount);
    HWND bar = view->window().controlHandle(form.picBar);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(bar, nullptr);

    ASSERT_TRUE(pumpUntil([&] { return ticks >= 3; }));
    form.tmrCount.setEnabled(false);
    backend.dispatcher().sync();
    EXPECT_EQ(textOf(label), std::to_string(ticks));
    RECT place{};
    GetWindowRect(bar, &place);
    const double tpp = view->window().twipsPerPixel();
    EXPECT_EQ(place.right - place.left, static_cast<int>(std::lround((1500 - 150 * ticks) / tpp)));

    // A disabled timer stays quiet.
    const int stoppedAt = ticks;
    pumpUntil([] { return false; });
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(Win32Backend, ProcessExitInAHandlerEndsTheMessageLoop) {
    NoMemory memory;
    NoFreeing freeing;
    Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
    CountingForm form;
    int ticks = 0;
    form.tmrCount.onTimer = [&] {
        if (++ticks == 2) throw ProcessExit{};
    };
    backend.attach(form);
    backend.dispatcher().deliver([&] { form.load(); });
    EXPECT_EQ(backend.exec(), 0);
    EXPECT_TRUE(backend.dispatcher().ended());
    EXPECT_EQ(ticks, 2);
}

TEST(Win32PeriodicTimers, ATimerDestroyedByItsOwnTickIsHarmless) {
    Win32PeriodicTimers timers(GetModuleHandleW(nullptr), {});
    std::unique_ptr<ui::PeriodicTimer> timer;
    int ticks = 0;
    timer = timers.create([&] {
        ++ticks;
        timer.reset();
    });
    timer->start(10);
    ASSERT_TRUE(pumpUntil([&] { return ticks == 1; }));
    pumpUntil([] { return false; });
    EXPECT_EQ(ticks, 1);
}

TEST(Win32PeriodicTimers, StartingARunningTimerStartsItsPeriodAfresh) {
    Win32PeriodicTimers timers(GetModuleHandleW(nullptr), {});
    int ticks = 0;
    auto timer = timers.create([&] { ++ticks; });
    timer->start(400);
    const ULONGLONG started = GetTickCount64();
    // Restarted every 100 ms for 600 ms, the 400-ms period never ends.
    pumpUntil([&] {
        if (GetTickCount64() - started < 600 && (GetTickCount64() - started) % 100 < 10) timer->start(400);
        return GetTickCount64() - started >= 600;
    });
    EXPECT_EQ(ticks, 0);
    timer->stop();
}


// The freeing block's system calls: real memory, figures that fit or not, a
// fill that can be held back, and a count of the spaces each piece holds
// when it goes back.
struct BlockCalls {
    static constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    static inline std::atomic<bool> gateOpen{true};
    static inline std::atomic<bool> filling{false};
    static inline std::atomic<int> commits{0};
    static inline std::atomic<int> releases{0};
    static inline std::atomic<std::uint64_t> spacesReleased{0};
    static inline std::vector<std::pair<void*, std::size_t>> pieces;  // written by one thread at a time

    static void reset(bool open) {
        gateOpen = open;
        filling = false;
        commits = releases = 0;
        spacesReleased = 0;
        pieces.clear();
    }
    static bool fits(MemoryStatusEx& f) {
        f.totalPhys = 16 * kGiB;
        f.availPhys = 8 * kGiB;
        f.totalPageFile = 16 * kGiB;
        f.availPageFile = 8 * kGiB;
        f.availVirtual = 128ull << 40;
        return true;
    }
    static bool scarce(MemoryStatusEx& f) {
        fits(f);
        f.availPhys = 300ull << 20;
        return true;
    }
    static void* commit(std::size_t bytes) {
        ++commits;
        void* memory = VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (memory) pieces.emplace_back(memory, bytes);
        return memory;
    }
    static void release(void* memory) {
        ++releases;
        for (auto& [piece, bytes] : pieces) {
            if (piece != memory) continue;
            const auto* chars = static_cast<const char16_t*>(piece);
            std::uint64_t spaces = 0;
            for (std::size_t i = 0; i < bytes / 2; ++i) spaces += chars[i] == u' ';
            spacesReleased += spaces;
        }
        VirtualFree(memory, 0, MEM_RELEASE);
    }
    // Writes the spaces once the test opens the gate (at most 10 s later).
    static void heldBackFill(char16_t* first, std::size_t count, unsigned threads) {
        filling = true;
        const ULONGLONG end = GetTickCount64() + 10000;
        while (!gateOpen && GetTickCount64() < end) Sleep(5);
        fillSpacesInParallel(first, count, threads);
    }
    static Win32Freeing::Calls calls(bool (*figures)(MemoryStatusEx&)) {
        Win32Freeing::Calls c;
        c.readFigures = figures;
        c.commit = commit;
        c.release = release;
        c.fill = heldBackFill;
        return c;
    }
};

constexpr std::uint64_t kBlockCharacters = (std::uint64_t{8} << 20) + 3;

TEST(Win32BlockWaiter, ABlockStartedOnItsThreadCompletesThroughTheMessageLoop) {
    BlockCalls::reset(true);
    NoMemory memory;
    Win32Freeing freeing(BlockCalls::calls(BlockCalls::fits));
    Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
    std::optional<bool> outcome;
    backend.system().startBlock(kBlockCharacters, [&](bool ok) { outcome = ok; });
    // Never before start returns, only from the message loop.
    EXPECT_FALSE(outcome.has_value());
    ASSERT_TRUE(pumpUntil([&] { return outcome.has_value(); }));
    EXPECT_TRUE(*outcome);
    EXPECT_EQ(freeing.heldBytes(), kBlockCharacters * 2);
    backend.system().releaseBlock();
    EXPECT_EQ(freeing.heldBytes(), 0u);
    EXPECT_EQ(BlockCalls::releases.load(), 1);
    EXPECT_EQ(BlockCalls::spacesReleased.load(), kBlockCharacters);
}

TEST(Win32BlockWaiter, ABlockThatDoesNotFitReportsFailureThroughTheMessageLoop) {
    BlockCalls::reset(true);
    NoMemory memory;
    Win32Freeing freeing(BlockCalls::calls(BlockCalls::scarce));
    Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
    std::optional<bool> outcome;
    backend.system().startBlock(std::uint64_t{1} << 30, [&](bool ok) { outcome = ok; });
    EXPECT_FALSE(outcome.has_value());
    ASSERT_TRUE(pumpUntil([&] { return outcome.has_value(); }));
    EXPECT_FALSE(*outcome);
    EXPECT_EQ(BlockCalls::commits.load(), 0);
    EXPECT_EQ(freeing.heldBytes(), 0u);
}

TEST(Win32BlockWaiter, TimersGoOnTickingWhileASlowBlockIsMade) {
    BlockCalls::reset(false);
    NoMemory memory;
    Win32Freeing freeing(BlockCalls::calls(BlockCalls::fits));
    Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
    CountingForm form;
    int ticks = 0;
    form.tmrCount.onTimer = [&] { ++ticks; };
    backend.attach(form);
    backend.dispatcher().deliver([&] { form.load(); });

    std::optional<bool> outcome;
    int ticksWhenDone = -1;
    backend.system().startBlock(kBlockCharacters, [&](bool ok) {
        outcome = ok;
        ticksWhenDone = ticks;
    });
    ASSERT_TRUE(pumpUntil([&] { return ticks >= 5 && BlockCalls::filling.load(); }));
    EXPECT_FALSE(outcome.has_value());
    EXPECT_TRUE(backend.win32System().blocks().making());

    BlockCalls::gateOpen = true;
    ASSERT_TRUE(pumpUntil([&] { return outcome.has_value(); }));
    EXPECT_TRUE(*outcome);
    EXPECT_GE(ticksWhenDone, 5);
    EXPECT_EQ(freeing.heldBytes(), kBlockCharacters * 2);
}

TEST(Win32BlockWaiter, ClosingDuringARunWaitsForTheThreadThenFreesTheBlock) {
    BlockCalls::reset(false);
    NoMemory memory;
    bool doneCalled = false;
    {
        Win32Freeing freeing(BlockCalls::calls(BlockCalls::fits));
        {
            Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
            CountingForm form;
            int ticks = 0;
            form.tmrCount.onTimer = [&] {
                // The program ends while the block is still being written.
                if (++ticks >= 3 && BlockCalls::filling.load()) throw ProcessExit{};
            };
            backend.attach(form);
            backend.dispatcher().deliver([&] { form.load(); });
            backend.system().startBlock(kBlockCharacters, [&](bool) { doneCalled = true; });
            EXPECT_EQ(backend.exec(), 0);
            EXPECT_TRUE(backend.win32System().blocks().making());
            // Let the thread finish some time after the backend starts to go.
            std::thread opener([] {
                Sleep(200);
                BlockCalls::gateOpen = true;
            });
            opener.detach();
        }
        // The thread was joined: the whole block was written, and it is held
        // until its owner goes.
        EXPECT_EQ(freeing.heldBytes(), kBlockCharacters * 2);
        EXPECT_EQ(BlockCalls::releases.load(), 0);
    }
    EXPECT_FALSE(doneCalled);
    EXPECT_EQ(BlockCalls::releases.load(), 1);
    EXPECT_EQ(BlockCalls::spacesReleased.load(), kBlockCharacters);
}

TEST(Win32BlockWaiter, ABlockPastItsDeadlineFailsTheRunAndIsFreedOnceMade) {
    BlockCalls::reset(false);
    NoMemory memory;
    Win32Freeing freeing(BlockCalls::calls(BlockCalls::fits));
    Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
    backend.win32System().blocks().setDeadline([](std::uint64_t) { return std::uint64_t{50}; });
    // Each failed run gives its block back, as the run's failure path does;
    // that must not wait for the fill, which is held back.
    std::optional<bool> outcome;
    backend.system().startBlock(kBlockCharacters, [&](bool ok) { outcome = ok; backend.system().releaseBlock(); });
    ASSERT_TRUE(pumpUntil([&] { return outcome.has_value(); }));
    EXPECT_FALSE(*outcome);
    EXPECT_TRUE(backend.win32System().blocks().making());

    // A new run while the old block is still being made fails at once.
    std::optional<bool> second;
    backend.system().startBlock(kBlockCharacters, [&](bool ok) { second = ok; backend.system().releaseBlock(); });
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(*second);
    EXPECT_TRUE(backend.win32System().blocks().making());
    EXPECT_EQ(BlockCalls::commits.load(), 1);

    BlockCalls::gateOpen = true;
    ASSERT_TRUE(pumpUntil([&] { return !backend.win32System().blocks().making(); }));
    EXPECT_EQ(freeing.heldBytes(), 0u);
    EXPECT_EQ(BlockCalls::spacesReleased.load(), kBlockCharacters);
}

}  // namespace
}  // namespace qx::win32ui
