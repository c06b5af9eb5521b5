// Periodic timers on SetTimer/KillTimer, one per id, ticking on a
// message-only window of their own, so no form window has to route them.
// Starting a running timer starts its period afresh. WM_TIMER never piles
// up: a tick that comes due while a handler still runs arrives once, after.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "platform/win32/ui/guarded_call.h"

namespace qx::win32ui {

class MessageWindowTimers {
public:
    MessageWindowTimers(HINSTANCE instance, std::function<void(UINT_PTR id)> onTick, FailureHandler failed);
    ~MessageWindowTimers();
    MessageWindowTimers(const MessageWindowTimers&) = delete;
    MessageWindowTimers& operator=(const MessageWindowTimers&) = delete;

    // `id` must not be 0. False when the system refuses the timer.
    bool start(UINT_PTR id, UINT intervalMs);
    void stop(UINT_PTR id);
    void stopAll();
    bool running(UINT_PTR id) const;
    HWND window() const { return window_; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void(UINT_PTR)> onTick_;
    FailureHandler failed_;
    HWND window_ = nullptr;
    std::vector<UINT_PTR> running_;
};

}  // namespace qx::win32ui
