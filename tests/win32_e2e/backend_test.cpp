// The Windows backend against real windows and timers (under Wine on a
// private display): the model's changes reach the child windows through the
// shared change tracking, the model's timers tick through the dispatcher,
// a timer destroyed by its own tick is harmless, and a handler's ProcessExit
// ends the message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "platform/system.h"
#include "platform/ui/model.h"
#include "platform/win32/backend/win32_backend.h"
#include "platform/win32/backend/win32_periodic_timers.h"
#include "platform/win32/backend/win32_window_host.h"
#include "platform/win32/ui/win32_ui_text.h"

namespace qx::win32 {
namespace {

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
        setCaption("Backend test");
        setClientSize(3000, 1500);
        lblCount.setCaption("0");
    }
    ui::Control lblCount, picBar;
    ui::Timer tmrCount;
};

std::string textOf(HWND window) {
    wchar_t text[256] = {};
    const int length = GetWindowTextW(window, text, 256);
    return win32ui::toUtf8(std::wstring_view(text, static_cast<std::size_t>(length)));
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
    Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
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
    EXPECT_EQ(textOf(view->handle()), "Backend test");
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
    Backend backend(GetModuleHandleW(nullptr), memory, freeing, "");
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

}  // namespace
}  // namespace qx::win32
