#include "platform/win32/ui/win32_block_waiter.h"
#include "platform/win32/ui/window_class.h"

#include <new>
#include <system_error>

#include "platform/win32/freeing_plan.h"

namespace qx::win32ui {

namespace {
constexpr wchar_t kBlockWindowClass[] = L"QuendaxBlock";
// Posted by the thread when its block is made; wParam: the run's number.
constexpr UINT kBlockMade = WM_APP + 1;
constexpr UINT_PTR kDeadlineTimer = 1;
}  // namespace

Win32BlockWaiter::Win32BlockWaiter(HINSTANCE instance, FreeingSystem& freeing, ui::Dispatcher& dispatcher,
                                   win32ui::FailureHandler failed)
    : freeing_(freeing),
      dispatcher_(dispatcher),
      failed_(std::move(failed)),
      deadline_([](std::uint64_t characters) { return static_cast<std::uint64_t>(blockDeadlineMs(characters * sizeof(char16_t))); }) {
    win32ui::ensureWindowClass(instance, kBlockWindowClass, proc);
    window_ = CreateWindowExW(0, kBlockWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

Win32BlockWaiter::~Win32BlockWaiter() {
    joinWorker();
    done_ = nullptr;
    if (window_) {
        KillTimer(window_, kDeadlineTimer);
        DestroyWindow(window_);
    }
}

void Win32BlockWaiter::joinWorker() {
    if (worker_.joinable()) worker_.join();
}

bool Win32BlockWaiter::giveUp() {
    Work making = Work::Making;
    return worker_.joinable() && work_.compare_exchange_strong(making, Work::GivenUp);
}

void Win32BlockWaiter::start(std::uint64_t characters, std::function<void(bool ok)> done) {
    // The memory of a block given up on is still being taken: no second one.
    if (making()) {
        done(false);
        return;
    }
    // A thread that has finished; a block it gave up on it gave back itself.
    joinWorker();
    if (window_ == nullptr) {
        done(freeing_.createBlock(characters));
        return;
    }
    KillTimer(window_, kDeadlineTimer);
    const WPARAM run = ++run_;
    work_.store(Work::Making);
    ok_ = false;
    try {
        worker_ = std::thread([this, characters, run] {
            bool ok = false;
            try {
                ok = freeing_.createBlock(characters);
            } catch (...) {
                ok = false;
            }
            ok_ = ok;
            Work making = Work::Making;
            if (!work_.compare_exchange_strong(making, Work::Made)) {
                // Given up on meanwhile: nobody waits for this block.
                freeing_.releaseBlock();
                work_.store(Work::Released);
            }
            // Lost only when the queue is full: the deadline then finds it.
            PostMessageW(window_, kBlockMade, run, 0);
        });
    } catch (const std::system_error&) {
        work_.store(Work::Idle);
        done(freeing_.createBlock(characters));
        return;
    }
    done_ = std::move(done);
    const std::uint64_t ms = deadline_(characters);
    SetTimer(window_, kDeadlineTimer, static_cast<UINT>(ms < 1 ? 1 : ms > 0x7FFFFFFF ? 0x7FFFFFFF : ms), nullptr);
}

bool Win32BlockWaiter::createBlock(std::uint64_t characters) {
    joinWorker();
    if (done_) ok_ = false;
    return freeing_.createBlock(characters);
}

void Win32BlockWaiter::releaseBlock() {
    // Never wait for a thread here: this runs on the window's thread.
    if (giveUp() || making()) return;
    joinWorker();
    if (done_) ok_ = false;
    freeing_.releaseBlock();
}

void Win32BlockWaiter::made(WPARAM run) {
    // A message from a run that has ended since, or one that's not done yet.
    const Work work = work_.load();
    if (run != run_ || work == Work::Making || work == Work::GivenUp) return;
    joinWorker();
    KillTimer(window_, kDeadlineTimer);
    deliver(work == Work::Made && ok_);
}

void Win32BlockWaiter::deadlinePassed() {
    KillTimer(window_, kDeadlineTimer);
    if (!done_) return;
    giveUp();
    if (work_.load() == Work::GivenUp) {
        deliver(false);
        return;
    }
    made(run_);
}

void Win32BlockWaiter::deliver(bool ok) {
    if (!done_) return;
    std::function<void(bool)> done = std::move(done_);
    done_ = nullptr;
    win32ui::guardedCall(failed_, [&] { dispatcher_.deliver([&] { done(ok); }); });
}

LRESULT CALLBACK Win32BlockWaiter::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = win32ui::windowObject<Win32BlockWaiter>(window, message, lParam);
    if (self && message == kBlockMade) {
        self->made(wParam);
        return 0;
    }
    if (self && message == WM_TIMER && wParam == kDeadlineTimer) {
        self->deadlinePassed();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qx::win32ui
