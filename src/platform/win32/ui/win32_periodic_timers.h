// The backend's side of the shared timer table on Windows: one SetTimer id
// per model timer, all ticking on the toolkit layer's message-only window.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/ui/timer_table.h"
#include "platform/win32/ui/message_window_timers.h"

namespace qx::win32ui {

class Win32PeriodicTimers final : public ui::PeriodicTimers {
public:
    Win32PeriodicTimers(HINSTANCE instance, win32ui::FailureHandler failed);
    ~Win32PeriodicTimers() override;
    Win32PeriodicTimers(const Win32PeriodicTimers&) = delete;
    Win32PeriodicTimers& operator=(const Win32PeriodicTimers&) = delete;

    std::unique_ptr<ui::PeriodicTimer> create(std::function<void()> tick) override;

    // Used by the timers made here.
    bool start(UINT_PTR id, int ms) { return timers_.start(id, ms < 1 ? 1 : static_cast<UINT>(ms)); }
    void stop(UINT_PTR id) { timers_.stop(id); }
    void forget(UINT_PTR id);

private:
    void tick(UINT_PTR id);

    std::map<UINT_PTR, std::function<void()>> ticks_;
    UINT_PTR nextId_ = 1;
    win32ui::MessageWindowTimers timers_;
};

}  // namespace qx::win32ui
