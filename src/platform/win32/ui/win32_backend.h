// The Windows backend put together: the dispatcher, the timers, the windows,
// the notification-area icon and the system services, and the message loop
// that runs them until the program ends.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/system.h"
#include "platform/ui/dispatcher.h"
#include "platform/ui/form_handlers.h"
#include "platform/ui/model.h"

namespace qx::win32ui {

class Win32System;
class Win32WindowHost;

class Win32Backend {
public:
    Win32Backend(HINSTANCE instance, MemorySystem& memory, FreeingSystem& freeing, std::string commandLine);
    ~Win32Backend();
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    System& system();
    Win32System& win32System();
    Win32WindowHost& windows();
    ui::Dispatcher& dispatcher() { return dispatcher_; }

    // Gives the start-up form its window host and timers; its window is
    // made when it loads.
    void attach(ui::Form& startup);

    // What the windows' close boxes do and where their keys go.
    ui::FormHandlers& formHandlers();
    // The notification-area icon's mouse codes (512-518), run as events.
    void setTrayHandler(std::function<void(int code)> handler);
    // The taskbar was created again and the icon added back, run as an event.
    void setTrayAddedAgain(std::function<void()> handler);

    // Keeps the start-up window's description (ui/window_description.h) in
    // the file at `path` from now on.
    void describeWindowTo(std::string path);

    // Runs the message loop until the program ends; returns the exit status.
    int exec();

private:
    // Whatever a window procedure caught, under the dispatcher's rules.
    void failed(std::exception_ptr error);

    struct Services;
    ui::Dispatcher dispatcher_;
    std::unique_ptr<Services> services_;
    int status_ = 0;
};

}  // namespace qx::win32ui
