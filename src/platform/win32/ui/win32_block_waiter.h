// Makes the freeing block on a thread of its own, so the window goes on
// painting and answering meanwhile. The thread runs the freeing system's
// createBlock (the fit check, the commit and the fill) and posts a message
// to a message-only window when it is done; the message loop then joins it
// and hands the outcome to the dispatcher as an event of its own. A block
// that takes longer than its deadline fails the run at once; the thread
// can't be stopped safely, so it gives its block back itself once it has
// finished, and nothing on the window's thread waits for it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "platform/system.h"
#include "platform/ui/dispatcher.h"
#include "platform/win32/ui/guarded_call.h"

namespace qx::win32ui {

class Win32BlockWaiter {
public:
    Win32BlockWaiter(HINSTANCE instance, FreeingSystem& freeing, ui::Dispatcher& dispatcher,
                     win32ui::FailureHandler failed);
    // Waits for a thread still making a block; the block itself stays with
    // the freeing system (a block given up on is given back by its thread).
    ~Win32BlockWaiter();
    Win32BlockWaiter(const Win32BlockWaiter&) = delete;
    Win32BlockWaiter& operator=(const Win32BlockWaiter&) = delete;

    // Starts the block on its thread; `done` gets the outcome later, through
    // the dispatcher. While a block given up on is still being made, or
    // when no thread can be started, `done` is called before this returns
    // (with false, or with the block made here).
    void start(std::uint64_t characters, std::function<void(bool ok)> done);
    // The block made here and now, after any thread has finished.
    bool createBlock(std::uint64_t characters);
    // Gives the memory back. A block still being made is given up on
    // instead, without waiting: its thread gives it back when it is done.
    // A run still waiting for its outcome then gets false.
    void releaseBlock();

    // Whether a run waits for its outcome.
    bool waiting() const { return static_cast<bool>(done_); }
    // Whether a thread is making a block now (or giving back one given up on).
    bool making() const {
        const Work work = work_.load();
        return worker_.joinable() && (work == Work::Making || work == Work::GivenUp);
    }

    // How long a block may take, in ms, from the characters asked for;
    // blockDeadlineMs of its bytes unless replaced.
    void setDeadline(std::function<std::uint64_t(std::uint64_t characters)> deadline) {
        deadline_ = std::move(deadline);
    }

private:
    // Where the thread's block stands. The thread moves Making to Made, or,
    // finding GivenUp, gives the block back and moves to Released.
    enum class Work { Idle, Making, Made, GivenUp, Released };

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void made(WPARAM run);
    void deadlinePassed();
    // True when a block still being made is given up on by this call.
    bool giveUp();
    void joinWorker();
    void deliver(bool ok);

    FreeingSystem& freeing_;
    ui::Dispatcher& dispatcher_;
    win32ui::FailureHandler failed_;
    std::function<std::uint64_t(std::uint64_t)> deadline_;
    HWND window_ = nullptr;
    std::thread worker_;
    std::atomic<Work> work_{Work::Idle};
    bool ok_ = false;  // the thread's outcome, read once it is Made
    WPARAM run_ = 0;
    std::function<void(bool)> done_;
};

}  // namespace qx::win32ui
