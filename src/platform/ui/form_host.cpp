#include "platform/ui/form_host.h"

namespace qx::ui {

FormHost::FormHost(Dispatcher& dispatcher, TimerTable& timers, NativeForms& natives)
    : dispatcher_(dispatcher), timers_(timers), natives_(natives) {}

FormHost::~FormHost() {
    dispatcher_.describeTo(nullptr);
    going_.clear();
    // Owned windows go before their owner.
    while (!loaded_.empty()) loaded_.pop_back();
}

void FormHost::attach(Form& startup) {
    startup.host = this;
    timers_.adopt(startup);
}

NativeForm* FormHost::windowOf(const Form& form) const {
    for (const Loaded& l : loaded_) {
        if (l.form == &form) return l.window.get();
    }
    return nullptr;
}

NativeForm* FormHost::startupWindow() const { return startup_ ? windowOf(*startup_) : nullptr; }

NativeForm* FormHost::windowWithMenu(const MenuItem& menu) const {
    for (const Loaded& l : loaded_) {
        if (l.window->hasMenu(menu)) return l.window.get();
    }
    return nullptr;
}

NativeForm* FormHost::live(const Form& form) const { return dispatcher_.ended() ? nullptr : windowOf(form); }

void FormHost::formLoaded(Form& form) {
    if (windowOf(form)) return;
    form.host = this;
    form.setTwipsPerPixel(natives_.twipsPerPixel());
    timers_.adopt(form);
    const bool startup = loaded_.empty();
    if (startup) {
        startup_ = &form;
    } else {
        int width = 0, height = 0;
        const NativeForm* main = startupWindow();
        const bool shown = main && main->frameExtents(width, height);
        TakeDialogFrame(form, shown, width, height);
    }
    loaded_.push_back({&form, natives_.create(form, startup)});
}

void FormHost::formUnloaded(Form& form) {
    for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
        if (it->form != &form) continue;
        timers_.release(form);
        fontGroups_.leave(form);
        it->window->detach();
        if (&form == startup_) startup_ = nullptr;
        // Its own event may be what unloaded it: the window goes from the
        // event loop.
        going_.push_back(std::move(it->window));
        loaded_.erase(it);
        syncSoon();
        return;
    }
}

void FormHost::syncAll() {
    // A handler run from inside a sync may load or unload a form.
    for (std::size_t i = 0; i < loaded_.size(); ++i) loaded_[i].window->sync();
}

void FormHost::syncSoon() {
    if (soonPending_) return;
    soonPending_ = true;
    natives_.callSoon();
}

void FormHost::runSoon() {
    soonPending_ = false;
    going_.clear();  // outside any window's own event
    dispatcher_.sync();
}

void FormHost::refresh(Control& box) {
    NativeForm* window = windowOf(box.form());
    if (!window) return;
    // What the handler has changed so far goes out with this paint, so the
    // window is drawn and sent to the screen once, not once more after it.
    dispatcher_.sync();
    refreshing_ = true;
    window->repaintBox(box);
    refreshing_ = false;
}

void FormHost::popupMenu(MenuItem& menu) {
    // The handler may have just changed its entries.
    if (NativeForm* window = windowWithMenu(menu)) window->popupMenu(menu, menuOpeningElsewhere_);
}

void FormHost::describeTo(std::string path) {
    describer_ = std::make_unique<WindowDescriber>(std::move(path), [this] {
        std::vector<ShownWindow> shown;
        for (const Loaded& l : loaded_) {
            ScreenView view = l.window->screenView();
            view.fontShare = [this](const Control& label) { return fontGroups_.shownShare(label); };
            shown.push_back({l.form, std::move(view)});
        }
        return shown;
    });
    dispatcher_.describeTo(describer_.get());
}

void FormHost::closeBox(Form& form) {
    // The form decides; a disabled window can't be closed.
    if (!live(form) || !form.enabled()) return;
    dispatcher_.deliver([this, &form] { handlers_.close(form); });
}

bool FormHost::key(Form& form, std::string_view name) {
    bool taken = false;
    if (live(form)) dispatcher_.deliver([&] { taken = handlers_.key(form, name); });
    return taken;
}

void FormHost::doubleClick(Form& form, Control* control) {
    if (live(form)) dispatcher_.deliver([&form, control] { form.doubleClick(control); });
}

void FormHost::clickButton(Form& form, Control& button) {
    if (live(form)) dispatcher_.deliver([&form, &button] { form.clickButton(button); });
}

void FormHost::chooseMenu(Form& form, MenuItem& item) {
    if (live(form)) dispatcher_.deliver([&form, &item] { form.clickMenu(item); });
}

void FormHost::stateChanged(Form& form, int state) {
    if (live(form) && state != form.windowState()) {
        dispatcher_.deliver([&form, state] { form.setWindowState(state); });
    }
}

void FormHost::clientResized(Form& form, double width, double height) {
    NativeForm* window = live(form);
    if (!window) return;
    if (width == form.scaleWidth() && height == form.scaleHeight()) {
        window->recordPlace();
        return;
    }
    dispatcher_.deliver([window, &form, width, height] {
        window->recordPlace();
        form.setClientSize(width, height);
        if (form.onResize) form.onResize();
    });
}

void FormHost::moved(Form& form) {
    if (NativeForm* window = live(form)) window->recordPlace();
}

void FormHost::paintBox(Form& form, Control& box, Canvas& canvas) {
    if (live(form) && box.onPaint) dispatcher_.paintBox(box, canvas, refreshing_);
}

}  // namespace qx::ui
