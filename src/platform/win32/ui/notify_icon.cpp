#include "platform/win32/ui/notify_icon.h"
#include "platform/win32/ui/window_class.h"

#include <shellapi.h>

#include "platform/win32/utf16.h"

namespace qx::win32ui {

namespace {

constexpr wchar_t kNotifyWindowClass[] = L"QuendaxNotifyIcon";

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

}  // namespace

NotifyIcon::NotifyIcon(HINSTANCE instance, NotifyIconEvents events) : events_(std::move(events)) {
    ensureWindowClass(instance, kNotifyWindowClass, proc);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // A hidden top-level window: broadcasts reach it, a message-only one not.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kNotifyWindowClass, L"Quendax", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
    if (window_ && taskbarCreated_) allowFromExplorer(window_, taskbarCreated_);
}

NotifyIcon::~NotifyIcon() {
    remove();
    if (window_) DestroyWindow(window_);
}

bool NotifyIcon::send(DWORD message) {
    if (!window_) return false;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kNotifyIconId;
    if (message != NIM_DELETE) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kNotifyIconCallback;
        data.hIcon = icon_;
        lstrcpynW(data.szTip, tip_.c_str(), static_cast<int>(sizeof data.szTip / sizeof data.szTip[0]));
    }
    return Shell_NotifyIconW(message, &data) != FALSE;
}

bool NotifyIcon::add(HICON icon, std::string_view tip) {
    icon_ = icon;
    tip_ = win32::toUtf16ForDisplay(tip);
    wanted_ = true;
    shown_ = send(NIM_ADD);
    return shown_;
}

bool NotifyIcon::modify(HICON icon, std::string_view tip) {
    icon_ = icon;
    tip_ = win32::toUtf16ForDisplay(tip);
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
    if (wanted_) shown_ = send(NIM_ADD);
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
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace qx::win32ui
