// The Qt backend put together: the dispatcher, the timers, the windows and
// the system services, behind a face without Qt types, so the program's
// entry needs no toolkit header. Create it after the Application.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/dispatcher.h"
#include "platform/system.h"
#include "platform/ui/model.h"

namespace qx::qt {

class QtSystem;
class QtTimerHost;
class QtWindowHost;

class Backend {
public:
    Backend(MemorySystem& memory, FreeingSystem& freeing, std::string commandLine);
    ~Backend();
    Backend(const Backend&) = delete;
    Backend& operator=(const Backend&) = delete;

    System& system();
    ui::Dispatcher& dispatcher() { return dispatcher_; }
    QtWindowHost& windows();
    QtTimerHost& timers();
    QtSystem& qtSystem();

    // Gives the start-up form its window host and timer host; its window is
    // made when it loads.
    void attach(ui::Form& startup);

    void setCloseBox(std::function<void(ui::Form&)> closeBox);
    void setKeyHandler(std::function<bool(ui::Form&, std::string_view)> keys);
    // Mouse messages from the notification-area icon, run as an event.
    void setTrayHandler(std::function<void(int message)> handler);
    // Makes the pop-up entry `popup` the icon's context menu; `aboutToOpen`
    // runs as an event just before the notification area shows it.
    void setTrayMenu(ui::MenuItem& popup, std::function<void()> aboutToOpen);

    // After `ms` milliseconds, saves a picture of the start-up window to
    // `path` (PNG) and ends the program: status 0, or 1 if it can't be saved.
    // A file already at `path` is kept (status 1) unless `replaceExisting`.
    void screenshotAfter(int ms, std::string path, bool replaceExisting = false);
    // After `ms` milliseconds, closes the start-up window as its close box
    // would.
    void closeAfter(int ms);

    // Runs the event loop until the program ends; returns the exit status.
    int exec();

private:
    struct Services;
    ui::Dispatcher dispatcher_;
    std::unique_ptr<Services> services_;
    int status_ = 0;
};

}  // namespace qx::qt
