#include "platform/win32/ui/notify_icon.h"
#include "platform/win32/ui/window_class.h"

#include <shellapi.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/win32/utf16.h"

namespace qx::win32ui {

// The calls for the icon's thread (an add with its number), oldest first;
// each takes the picture and tip wanted when it is made.
struct NotifyIcon::Calls {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<DWORD, unsigned>> waiting;
    HICON icon = nullptr;
    std::wstring tip;
    bool calling = false;
    bool ending = false;
};

namespace {

constexpr wchar_t kNotifyWindowClass[] = L"QuendaxNotifyIcon";
// From the icon's thread: wParam the number of an add, lParam whether it was taken.
constexpr UINT kAddAnswered = WM_APP + 1;
constexpr auto kLastCallsWait = std::chrono::milliseconds(500);

// A program running with higher rights than Explorer doesn't get Explorer's
// "TaskbarCreated" unless it lets the message in (Windows Vista and later;
// looked up at run time).
void allowFromExplorer(HWND window, UINT message) {
    using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using Filter = BOOL(WINAPI*)(UINT, DWORD);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW / MSGFLT_ADD
    if (auto ex = reinterpret_cast<FilterEx>(
            reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))) {
        ex(window, message, kAllow, nullptr);
    } else if (auto plain = reinterpret_cast<Filter>(
                   reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")))) {
        plain(message, kAllow);
    }
}

// Explorer's taskbar window: without one Shell_NotifyIconW gives up at once.
bool taskbarThere() { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }

bool call(HWND window, DWORD message, HICON icon, const std::wstring& tip);

}  // namespace

NotifyIcon::NotifyIcon(HINSTANCE instance, NotifyIconEvents events)
    : events_(std::move(events)), calls_(std::make_shared<Calls>()) {
    ensureWindowClass(instance, kNotifyWindowClass, proc);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // A hidden top-level window: broadcasts reach it, a message-only one not.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kNotifyWindowClass, L"Quendax", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
    if (!window_) return;
    if (taskbarCreated_) allowFromExplorer(window_, taskbarCreated_);
    try {
        thread_ = std::thread([calls = calls_, window = window_] {
            std::unique_lock lock(calls->mutex);
            for (;;) {
                calls->changed.wait(lock, [&] { return calls->ending || !calls->waiting.empty(); });
                if (calls->waiting.empty()) return;
                const auto [message, add] = calls->waiting.front();
                calls->waiting.pop_front();
                const HICON icon = calls->icon;
                const std::wstring tip = calls->tip;
                calls->calling = true;
                lock.unlock();
                const bool taken = call(window, message, icon, tip);
                if (message == NIM_ADD) PostMessageW(window, kAddAnswered, add, taken);
                lock.lock();
                calls->calling = false;
                calls->changed.notify_all();
            }
        });
    } catch (const std::system_error&) {
        // No thread: the calls are made on the window's thread, as before.
    }
}

NotifyIcon::~NotifyIcon() {
    remove();
    if (thread_.joinable()) {
        std::unique_lock lock(calls_->mutex);
        calls_->ending = true;
        calls_->changed.notify_all();
        // The NIM_DELETE gets half a second. An Explorer that hasn't answered
        // by then keeps the thread, and the end of the process takes it away.
        const bool done = calls_->changed.wait_for(lock, kLastCallsWait,
                                                   [&] { return calls_->waiting.empty() && !calls_->calling; });
        lock.unlock();
        done ? thread_.join() : thread_.detach();
    }
    if (window_) DestroyWindow(window_);
}

namespace {

bool call(HWND window, DWORD message, HICON icon, const std::wstring& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kNotifyIconId;
    if (message != NIM_DELETE) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kNotifyIconCallback;
        data.hIcon = icon;
        lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(sizeof data.szTip / sizeof data.szTip[0]));
    }
    return Shell_NotifyIconW(message, &data) != FALSE;
}

}  // namespace

bool NotifyIcon::send(DWORD message) {
    if (!window_) return false;
    std::lock_guard lock(calls_->mutex);
    if (!thread_.joinable()) return call(window_, message, calls_->icon, calls_->tip);
    auto& waiting = calls_->waiting;
    // A call still waiting will take the new picture and tip anyway.
    if (message == NIM_MODIFY && !waiting.empty() && waiting.back().first != NIM_DELETE) return true;
    waiting.emplace_back(message, message == NIM_ADD ? ++adds_ : 0u);
    calls_->changed.notify_all();
    return true;
}

void NotifyIcon::keep(HICON icon, std::string_view tip) {
    std::wstring text = win32::toUtf16ForDisplay(tip);
    std::lock_guard lock(calls_->mutex);
    calls_->icon = icon;
    calls_->tip = std::move(text);
}

bool NotifyIcon::add(HICON icon, std::string_view tip) {
    keep(icon, tip);
    wanted_ = true;
    shown_ = taskbarThere() && send(NIM_ADD);
    return shown_;
}

bool NotifyIcon::modify(HICON icon, std::string_view tip) {
    keep(icon, tip);
    if (!shown_) return false;
    return send(NIM_MODIFY);
}

bool NotifyIcon::remove() {
    wanted_ = false;
    if (!shown_) return false;
    shown_ = false;
    return send(NIM_DELETE);
}

void NotifyIcon::taskbarCreated() {
    // The old taskbar took its icons with it.
    if (wanted_) shown_ = taskbarThere() && send(NIM_ADD);
    if (events_.taskbarCreated) events_.taskbarCreated(shown_);
}

LRESULT CALLBACK NotifyIcon::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    NotifyIcon* self = windowObject<NotifyIcon>(window, message, lParam);
    if (self) {
        if (message == kNotifyIconCallback && wParam == kNotifyIconId) {
            const int code = static_cast<int>(LOWORD(lParam));
            if (self->events_.mouse) guardedCall(self->events_.failed, [&] { self->events_.mouse(code); });
            return 0;
        }
        if (message != 0 && message == self->taskbarCreated_) {
            guardedCall(self->events_.failed, [&] { self->taskbarCreated(); });
            return 0;
        }
        if (message == kAddAnswered) {
            // Refused after all: the icon waits for the next taskbar.
            if (lParam == 0 && static_cast<unsigned>(wParam) == self->adds_) self->shown_ = false;
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qx::win32ui
