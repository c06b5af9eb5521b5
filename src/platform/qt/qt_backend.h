// The Qt backend put together: the dispatcher, the timers, the windows and
// the system services, behind a face without Qt types, so the program's
// entry needs no toolkit header. Create it after the Application.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/dispatcher.h"
#include "platform/ui/form_handlers.h"
#include "platform/system.h"
#include "platform/ui/model.h"
#include "platform/watched_block.h"

namespace qx::qt {

class QtSystem;
class QtTimerHost;
class QtWindowHost;

class QtBackend {
public:
    // `memory`, `freeing`, `blocks` (the same blocks, waited for from the
    // event loop) and `lookups` come from the platform the program runs on
    // and must outlive the backend.
    QtBackend(MemorySystem& memory, FreeingSystem& freeing, WatchedBlock& blocks, LookupSystem& lookups,
            std::string commandLine);
    ~QtBackend();
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    System& system();
    ui::Dispatcher& dispatcher() { return dispatcher_; }
    QtWindowHost& windows();
    QtTimerHost& timers();
    QtSystem& qtSystem();

    // The user's digit-group separator, from the system locale.
    static std::string userGroupSeparator();
    // Twips in one of the toolkit's device-independent pixels.
    static double twipsPerPixel();

    // Gives the start-up form its window host and timer host; its window is
    // made when it loads.
    void attach(ui::Form& startup);

    // What the windows' close boxes do and where their keys go.
    ui::FormHandlers& formHandlers();
    // Mouse messages from the notification-area icon, run as an event.
    void setTrayHandler(std::function<void(int message)> handler);
    // The notification area going away (false) or coming (true), run as an
    // event.
    void setTrayHostHandler(std::function<void(bool present)> handler);
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
    // Keeps the start-up window's description (ui/window_description.h) in
    // the file at `path` from now on.
    void describeWindowTo(std::string path);

    // Runs the event loop until the program ends; returns the exit status.
    int exec();

private:
    struct Services;
    ui::Dispatcher dispatcher_;
    std::unique_ptr<Services> services_;
    int status_ = 0;
};

}  // namespace qx::qt
