// The window system for the model, the same on every backend: the loaded
// forms with their native windows (the start-up window first), unloading
// that lets a window go only from the event loop, the sync that runs after
// every event, picture boxes repainted on request, pop-up menus, font
// groups, and the windows' events turned into handler calls through the
// dispatcher. A backend gives it native windows (native_form.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/dispatcher.h"
#include "platform/ui/font_groups.h"
#include "platform/ui/form_handlers.h"
#include "platform/ui/model.h"
#include "platform/ui/native_form.h"
#include "platform/ui/timer_table.h"
#include "platform/ui/window_description.h"

namespace qx::ui {

class FormHost final : public WindowHost {
public:
    FormHost(Dispatcher& dispatcher, TimerTable& timers, NativeForms& natives);
    ~FormHost() override;
    FormHost(const FormHost&) = delete;
    FormHost& operator=(const FormHost&) = delete;

    // Gives the start-up form this host and its timers; its window is made
    // when it loads.
    void attach(Form& startup);

    void refresh(Control& box) override;
    void popupMenu(MenuItem& menu) override;
    void formLoaded(Form& form) override;
    void formUnloaded(Form& form) override;

    // Pushes every form's changes to its window.
    void syncAll();
    // A sync from the event loop, soon.
    void syncSoon();
    // What NativeForms::callSoon runs: windows of unloaded forms go, then a sync.
    void runSoon();

    // While the notification area opens a menu itself, a pop-up request
    // only brings the menu's entries up to date.
    void setMenuOpeningElsewhere(bool opening) { menuOpeningElsewhere_ = opening; }
    // What a window's close box does and where the keys it passes go.
    FormHandlers& handlers() { return handlers_; }
    FontGroups& fontGroups() { return fontGroups_; }
    Dispatcher& dispatcher() { return dispatcher_; }
    // True while refresh() repaints: the handler asking for it syncs after.
    bool refreshing() const { return refreshing_; }

    // The window of a loaded form, or nullptr.
    NativeForm* windowOf(const Form& form) const;
    // The start-up form's window (nullptr before it loads or after it unloads).
    NativeForm* startupWindow() const;
    // The window whose menus hold `menu`, or nullptr.
    NativeForm* windowWithMenu(const MenuItem& menu) const;
    // Keeps a description of the windows in the file at `path` from now on.
    void describeTo(std::string path);

    // ---- a window's events, run as handlers; none once the form is gone ----
    void closeBox(Form& form);
    // "Enter", "Esc": true when the program took the key.
    bool key(Form& form, std::string_view name);
    // `control` is nullptr for the window itself.
    void doubleClick(Form& form, Control* control);
    void clickButton(Form& form, Control& button);
    void chooseMenu(Form& form, MenuItem& item);
    void stateChanged(Form& form, int state);
    // The user sized the client area (twips); moved() when only its place changed.
    void clientResized(Form& form, double width, double height);
    void moved(Form& form);
    void paintBox(Form& form, Control& box, Canvas& canvas);

private:
    struct Loaded {
        Form* form;
        std::unique_ptr<NativeForm> window;
    };
    NativeForm* live(const Form& form) const;

    Dispatcher& dispatcher_;
    TimerTable& timers_;
    NativeForms& natives_;
    std::vector<Loaded> loaded_;                    // the start-up form first
    std::vector<std::unique_ptr<NativeForm>> going_;  // of unloaded forms
    Form* startup_ = nullptr;
    FormHandlers handlers_;
    FontGroups fontGroups_;
    std::unique_ptr<WindowDescriber> describer_;
    bool soonPending_ = false;
    bool refreshing_ = false;
    bool menuOpeningElsewhere_ = false;
};

}  // namespace qx::ui
