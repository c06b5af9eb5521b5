// The window system for the model on Windows: a FormView per loaded form,
// made when the form loads and let go when it unloads, repaints of picture
// boxes, pop-up menus, and the sync that runs after every event. Every
// window event runs through the dispatcher.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/ui/dispatcher.h"
#include "platform/ui/form_handlers.h"
#include "platform/ui/model.h"
#include "platform/ui/timer_table.h"
#include "platform/win32/backend/win32_form_view.h"
#include "platform/win32/backend/win32_icons.h"
#include "platform/win32/ui/message_loop.h"

namespace qx::win32 {

class Win32WindowHost final : public ui::WindowHost {
public:
    Win32WindowHost(HINSTANCE instance, ui::Dispatcher& dispatcher, ui::TimerTable& timers,
                    ui::PeriodicTimers& periodic, win32ui::MessageLoop& loop, IconCache& icons,
                    win32ui::FailureHandler failed);
    ~Win32WindowHost() override;
    Win32WindowHost(const Win32WindowHost&) = delete;
    Win32WindowHost& operator=(const Win32WindowHost&) = delete;

    void refresh(ui::Control& box) override;
    void popupMenu(ui::MenuItem& menu) override;
    // The first form loaded is the start-up window: centred on the screen.
    void formLoaded(ui::Form& form) override;
    void formUnloaded(ui::Form& form) override;

    void syncAll();
    // A sync from the message loop, soon.
    void syncSoon();

    // What a window's close box does and where the keys it passes go.
    ui::FormHandlers& handlers() { return handlers_; }

    // The start-up window (nullptr before it loads or after it unloads).
    HWND startupHandle() const;
    // The loaded windows, the start-up window first.
    const std::vector<std::unique_ptr<FormView>>& views() const { return views_; }
    FormView* viewOf(const ui::Form& form) const;
    // The twips per pixel of the screen the program starts on.
    double screenTwipsPerPixel() const;

private:
    win32ui::FormWindowEvents eventsFor(ui::Form& form);
    FormView* liveView(ui::Form* form) const;

    HINSTANCE instance_;
    ui::Dispatcher& dispatcher_;
    ui::TimerTable& timers_;
    win32ui::MessageLoop& loop_;
    IconCache& icons_;
    win32ui::FailureHandler failed_;
    std::vector<std::unique_ptr<FormView>> views_;  // the first is the start-up window
    std::vector<std::unique_ptr<FormView>> going_;  // unloaded; destroyed outside their own events
    ui::Form* startup_ = nullptr;
    ui::FormHandlers handlers_;
    std::unique_ptr<ui::PeriodicTimer> syncTimer_;
    bool syncPending_ = false;
    bool refreshing_ = false;
};

}  // namespace qx::win32
