// The Windows side of the shared form host: a FormView for each loaded
// form (the others owned by the start-up window), syncs run from the
// message loop, and the start-up window's handle for the system services.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/ui/form_host.h"
#include "platform/win32/ui/win32_form_view.h"
#include "platform/win32/ui/win32_icons.h"
#include "platform/win32/ui/message_loop.h"

namespace qx::win32ui {

class Win32WindowHost final : public ui::NativeForms {
public:
    Win32WindowHost(HINSTANCE instance, ui::Dispatcher& dispatcher, ui::TimerTable& timers,
                    ui::PeriodicTimers& periodic, win32ui::MessageLoop& loop, IconCache& icons,
                    win32ui::FailureHandler failed);

    ui::FormHost& host() { return host_; }

    // ui::NativeForms
    std::unique_ptr<ui::NativeForm> create(ui::Form& form, bool startup) override;
    // The twips per pixel of the screen the program starts on.
    double twipsPerPixel() const override;
    void callSoon() override { syncTimer_->start(0); }

    // The start-up window (nullptr before it loads or after it unloads).
    HWND startupHandle() const;
    FormView* viewOf(const ui::Form& form) const { return static_cast<FormView*>(host_.windowOf(form)); }

private:
    HINSTANCE instance_;
    win32ui::MessageLoop& loop_;
    IconCache& icons_;
    win32ui::FailureHandler failed_;
    std::unique_ptr<ui::PeriodicTimer> syncTimer_;
    ui::FormHost host_;
};

}  // namespace qx::win32ui
