#include "platform/win32/ui/win32_backend.h"

#include "platform/ui/timer_table.h"
#include "platform/win32/ui/win32_icons.h"
#include "platform/win32/ui/win32_periodic_timers.h"
#include "platform/win32/ui/win32_system.h"
#include "platform/win32/ui/win32_window_host.h"
#include "platform/win32/ui/message_loop.h"

namespace qx::win32ui {

struct Win32Backend::Services {
    Services(HINSTANCE instance, ui::Dispatcher& dispatcher, MemorySystem& memory, FreeingSystem& freeing,
             std::string commandLine, const win32ui::FailureHandler& failed)
        : icons(instance),
          periodic(instance, failed),
          timers(periodic, dispatcher),
          windows(instance, dispatcher, timers, periodic, loop, icons, failed),
          system(instance, memory, freeing, windows, icons, dispatcher, std::move(commandLine), failed) {}

    win32ui::MessageLoop loop;
    IconCache icons;
    Win32PeriodicTimers periodic;
    ui::TimerTable timers;
    Win32WindowHost windows;
    Win32System system;
};

Win32Backend::Win32Backend(HINSTANCE instance, MemorySystem& memory, FreeingSystem& freeing, std::string commandLine) {
    const win32ui::FailureHandler failedHere = [this](std::exception_ptr error) { failed(error); };
    services_ = std::make_unique<Services>(instance, dispatcher_, memory, freeing, std::move(commandLine), failedHere);
    dispatcher_.setOnEnd([this] {
        services_->timers.stopAll();
        win32ui::MessageLoop::quit(status_);
    });
    dispatcher_.setOnSync([this] { services_->windows.host().syncAll(); });
    dispatcher_.setOnSyncLater([this] { services_->windows.host().syncSoon(); });
    dispatcher_.setOnWarn([this](std::string_view line) { services_->system.warn(line); });
}

Win32Backend::~Win32Backend() {
    // No handler runs while the windows go: the forms may already be gone.
    // No quit message is left behind in the thread's queue either.
    dispatcher_.setOnEnd([this] { services_->timers.stopAll(); });
    dispatcher_.end();
}

void Win32Backend::failed(std::exception_ptr error) {
    // Rethrown inside the dispatcher, which tells the program's exit from a
    // run-time error from anything else.
    if (dispatcher_.ended()) return;
    dispatcher_.deliver([error] { std::rethrow_exception(error); });
}

System& Win32Backend::system() { return services_->system; }
Win32System& Win32Backend::win32System() { return services_->system; }
Win32WindowHost& Win32Backend::windows() { return services_->windows; }

void Win32Backend::attach(ui::Form& startup) { services_->windows.host().attach(startup); }

ui::FormHandlers& Win32Backend::formHandlers() { return services_->windows.host().handlers(); }

void Win32Backend::setTrayHandler(std::function<void(int code)> handler) {
    services_->system.setTrayHandler(std::move(handler));
}

void Win32Backend::setTrayAddedAgain(std::function<void()> handler) {
    services_->system.setTrayAddedAgain(std::move(handler));
}

int Win32Backend::exec() {
    if (dispatcher_.ended()) return status_;
    services_->loop.run();
    return status_;
}

void Win32Backend::describeWindowTo(std::string path) { services_->windows.host().describeTo(std::move(path)); }

}  // namespace qx::win32ui
