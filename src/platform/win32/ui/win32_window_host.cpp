#include "platform/win32/ui/win32_window_host.h"

#include "platform/win32/ui/win32_dpi.h"

namespace qx::win32ui {

Win32WindowHost::Win32WindowHost(HINSTANCE instance, ui::Dispatcher& dispatcher, ui::TimerTable& timers,
                                 ui::PeriodicTimers& periodic, win32ui::MessageLoop& loop, IconCache& icons,
                                 win32ui::FailureHandler failed)
    : instance_(instance), loop_(loop), icons_(icons), failed_(std::move(failed)), host_(dispatcher, timers, *this) {
    syncTimer_ = periodic.create([this] {
        syncTimer_->stop();
        host_.runSoon();
    });
}

double Win32WindowHost::twipsPerPixel() const {
    return win32ui::twipsPerPixelForDpi(win32ui::windowDpi(startupHandle()));
}

HWND Win32WindowHost::startupHandle() const {
    const auto* view = static_cast<const FormView*>(host_.startupWindow());
    return view ? view->handle() : nullptr;
}

std::unique_ptr<ui::NativeForm> Win32WindowHost::create(ui::Form& form, bool startup) {
    win32ui::FormWindowOptions options;
    options.instance = instance_;
    options.owner = startup ? nullptr : startupHandle();
    options.centreOnScreen = startup;
    options.icon = [this](std::string_view name, int size) { return icons_.icon(name, size); };
    return std::make_unique<FormView>(form, host_, loop_, std::move(options), failed_, startup);
}

}  // namespace qx::win32ui
