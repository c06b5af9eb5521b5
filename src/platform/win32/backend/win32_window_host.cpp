#include "platform/win32/backend/win32_window_host.h"

#include "platform/win32/ui/win32_dpi.h"

namespace qx::win32 {

Win32WindowHost::Win32WindowHost(HINSTANCE instance, ui::Dispatcher& dispatcher, ui::TimerTable& timers,
                                 ui::PeriodicTimers& periodic, win32ui::MessageLoop& loop, IconCache& icons,
                                 win32ui::FailureHandler failed)
    : instance_(instance),
      dispatcher_(dispatcher),
      timers_(timers),
      loop_(loop),
      icons_(icons),
      failed_(std::move(failed)) {
    syncTimer_ = periodic.create([this] {
        syncTimer_->stop();
        syncPending_ = false;
        going_.clear();  // outside any window's own event
        dispatcher_.sync();
    });
}

Win32WindowHost::~Win32WindowHost() {
    syncTimer_.reset();
    going_.clear();
    // Owned windows go before their owner.
    while (!views_.empty()) views_.pop_back();
}

double Win32WindowHost::screenTwipsPerPixel() const {
    return win32ui::twipsPerPixelForDpi(win32ui::windowDpi(startupHandle()));
}

HWND Win32WindowHost::startupHandle() const {
    for (const auto& view : views_) {
        if (&view->form() == startup_) return view->handle();
    }
    return nullptr;
}

FormView* Win32WindowHost::viewOf(const ui::Form& form) const {
    for (const auto& view : views_) {
        if (&view->form() == &form) return view.get();
    }
    return nullptr;
}

FormView* Win32WindowHost::liveView(ui::Form* form) const {
    return dispatcher_.ended() ? nullptr : viewOf(*form);
}

win32ui::FormWindowEvents Win32WindowHost::eventsFor(ui::Form& form) {
    ui::Form* f = &form;
    win32ui::FormWindowEvents events;
    events.menuChosen = [this, f](ui::MenuItem& item) {
        if (liveView(f)) dispatcher_.deliver([f, &item] { f->clickMenu(item); });
    };
    events.buttonClicked = [this, f](ui::Control& button) {
        if (liveView(f)) dispatcher_.deliver([f, &button] { f->clickButton(button); });
    };
    events.doubleClicked = [this, f](ui::Control* control) {
        if (liveView(f)) dispatcher_.deliver([f, control] { f->doubleClick(control); });
    };
    events.paintBox = [this, f](ui::Control& box, ui::Canvas& canvas) {
        if (!liveView(f) || !box.onPaint) return;
        dispatcher_.paintBox(box, canvas, refreshing_);
    };
    events.closeBox = [this, f] {
        if (!liveView(f) || !f->enabled()) return;
        dispatcher_.deliver([this, f] { handlers_.close(*f); });
    };
    events.clientResized = [this, f](int width, int height) {
        FormView* view = liveView(f);
        if (!view) return;
        const double tpp = view->window().twipsPerPixel();
        dispatcher_.deliver([view, f, width, height, tpp] {
            view->recordPlace();
            f->setClientSize(width * tpp, height * tpp);
            if (f->onResize) f->onResize();
        });
    };
    events.stateChanged = [this, f](int state) {
        if (liveView(f)) dispatcher_.deliver([f, state] { f->setWindowState(state); });
    };
    events.moved = [this, f] {
        if (FormView* view = liveView(f)) view->recordPlace();
    };
    events.dpiChanged = [this, f](double twipsPerPixel) {
        FormView* view = liveView(f);
        if (!view) return;
        f->setTwipsPerPixel(twipsPerPixel);
        view->forgetControls();
    };
    events.key = [this, f](std::string_view key) {
        bool taken = false;
        if (liveView(f)) dispatcher_.deliver([&] { taken = handlers_.key(*f, key); });
        return taken;
    };
    events.failed = failed_;
    return events;
}

void Win32WindowHost::formLoaded(ui::Form& form) {
    if (viewOf(form)) return;
    form.host = this;
    const bool startup = views_.empty();
    if (startup) startup_ = &form;
    form.setTwipsPerPixel(screenTwipsPerPixel());
    timers_.adopt(form);
    if (!startup) {
        HWND main = startupHandle();
        const bool shown = main && IsWindowVisible(main);
        RECT outer{}, client{};
        if (shown) {
            GetWindowRect(main, &outer);
            GetClientRect(main, &client);
        }
        const int menuBar = shown && GetMenu(main) ? GetSystemMetrics(SM_CYMENU) : 0;
        ui::TakeDialogFrame(form, shown, outer.right - outer.left - client.right,
                            outer.bottom - outer.top - client.bottom - menuBar);
    }
    win32ui::FormWindowOptions options;
    options.instance = instance_;
    options.owner = startup ? nullptr : startupHandle();
    options.centreOnScreen = startup;
    options.icon = [this](std::string_view name, int size) { return icons_.icon(name, size); };
    views_.push_back(std::make_unique<FormView>(form, std::move(options), eventsFor(form)));
    FormView& view = *views_.back();
    if (!view.handle()) return;
    if (startup) {
        loop_.setAccelerators(view.handle(), view.window().accelerators());
    } else {
        // Tab, Enter and Esc as in a dialog.
        loop_.addDialogWindow(view.handle());
    }
}

void Win32WindowHost::formUnloaded(ui::Form& form) {
    for (auto it = views_.begin(); it != views_.end(); ++it) {
        if (&(*it)->form() != &form) continue;
        timers_.release(form);
        HWND handle = (*it)->handle();
        if (handle) {
            loop_.removeDialogWindow(handle);
            ShowWindow(handle, SW_HIDE);
        }
        if (&form == startup_) {
            loop_.setAccelerators(nullptr, nullptr);
            startup_ = nullptr;
        }
        // Its own event may be what unloaded it: the window goes from the
        // message loop.
        going_.push_back(std::move(*it));
        views_.erase(it);
        syncSoon();
        return;
    }
}

void Win32WindowHost::syncAll() {
    // A handler run from inside a sync may load or unload a form.
    for (std::size_t i = 0; i < views_.size(); ++i) views_[i]->sync();
}

void Win32WindowHost::syncSoon() {
    if (syncPending_ || !syncTimer_) return;
    syncPending_ = true;
    syncTimer_->start(0);
}

void Win32WindowHost::refresh(ui::Control& box) {
    FormView* view = viewOf(box.form());
    if (!view) return;
    // What the handler has changed so far goes out with this paint.
    dispatcher_.sync();
    refreshing_ = true;
    view->window().repaintControl(box);
    refreshing_ = false;
}

void Win32WindowHost::popupMenu(ui::MenuItem& menu) {
    for (const auto& view : views_) {
        if (!view->contains(menu)) continue;
        view->syncMenus();  // the handler may have just changed its entries
        view->window().popupMenu(menu);
        return;
    }
}

}  // namespace qx::win32
