#include "platform/win32/ui/message_window_timers.h"
#include "platform/win32/ui/window_class.h"

#include <algorithm>

namespace qx::win32ui {

namespace {
constexpr wchar_t kTimerWindowClass[] = L"QuendaxTimers";
}

MessageWindowTimers::MessageWindowTimers(HINSTANCE instance, std::function<void(UINT_PTR id)> onTick, FailureHandler failed)
    : onTick_(std::move(onTick)), failed_(std::move(failed)) {
    ensureWindowClass(instance, kTimerWindowClass, proc);
    window_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

MessageWindowTimers::~MessageWindowTimers() {
    stopAll();
    if (window_) DestroyWindow(window_);
}

bool MessageWindowTimers::start(UINT_PTR id, UINT intervalMs) {
    if (!window_ || id == 0) return false;
    if (SetTimer(window_, id, intervalMs, nullptr) == 0) {
        stop(id);
        return false;
    }
    if (!running(id)) running_.push_back(id);
    return true;
}

void MessageWindowTimers::stop(UINT_PTR id) {
    if (!running(id)) return;
    KillTimer(window_, id);
    std::erase(running_, id);
}

void MessageWindowTimers::stopAll() {
    for (UINT_PTR id : running_) KillTimer(window_, id);
    running_.clear();
}

bool MessageWindowTimers::running(UINT_PTR id) const {
    return std::find(running_.begin(), running_.end(), id) != running_.end();
}

LRESULT CALLBACK MessageWindowTimers::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageWindowTimers* self = windowObject<MessageWindowTimers>(window, message, lParam);
    if (message == WM_TIMER && self) {
        const UINT_PTR id = wParam;
        // A tick already queued for a timer stopped since is dropped.
        if (self->running(id) && self->onTick_) guardedCall(self->failed_, [&] { self->onTick_(id); });
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qx::win32ui
