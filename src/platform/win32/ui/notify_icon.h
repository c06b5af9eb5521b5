// The notification-area icon on Shell_NotifyIconW: identifier 1, the
// callback message 512, and a tip. The icon talks to a hidden top-level
// window of its own, which receives the callback's mouse codes (512 move,
// 513-515 left button, 516-518 right button) and the registered
// "TaskbarCreated" message that Explorer broadcasts when the taskbar is
// created again (after Explorer restarts, or when the program started before
// the taskbar was up, as with a start at log-on). Then the icon is added
// again, if the program wants it, and the owner is told whether that worked.
// Shell_NotifyIconW waits for Explorer, which may be busy, hung or stopped:
// a thread of the icon's own makes the calls, in order, so that the window's
// thread never waits for Explorer. An add counts once a taskbar is there to
// take it; refused later, shown() turns false until the next taskbar.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "platform/win32/ui/guarded_call.h"

namespace qx::win32ui {

inline constexpr UINT kNotifyIconId = 1;
inline constexpr UINT kNotifyIconCallback = 512;  // WM_MOUSEMOVE

struct NotifyIconEvents {
    // A mouse code from the icon (512-518).
    std::function<void(int code)> mouse;
    // The taskbar was created again; `added`: the icon is there now.
    std::function<void(bool added)> taskbarCreated;
    FailureHandler failed;
};

class NotifyIcon {
public:
    NotifyIcon(HINSTANCE instance, NotifyIconEvents events);
    ~NotifyIcon();  // removes the icon, waiting at most half a second for Explorer
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // NIM_ADD; the program wants the icon from now on, even if the add is
    // refused (no taskbar yet): it is added when the taskbar appears.
    bool add(HICON icon, std::string_view tip);
    // NIM_MODIFY; the new picture and tip are kept for a later re-add.
    bool modify(HICON icon, std::string_view tip);
    // NIM_DELETE; the program no longer wants the icon.
    bool remove();

    bool wanted() const { return wanted_; }
    bool shown() const { return shown_; }
    HWND window() const { return window_; }
    UINT taskbarCreatedMessage() const { return taskbarCreated_; }

private:
    struct Calls;  // the calls waiting for the thread, shared with it

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void keep(HICON icon, std::string_view tip);
    bool send(DWORD message);
    void taskbarCreated();

    NotifyIconEvents events_;
    HWND window_ = nullptr;
    UINT taskbarCreated_ = 0;
    std::shared_ptr<Calls> calls_;
    std::thread thread_;
    unsigned adds_ = 0;  // the number of the latest NIM_ADD
    bool wanted_ = false;
    bool shown_ = false;
};

}  // namespace qx::win32ui
