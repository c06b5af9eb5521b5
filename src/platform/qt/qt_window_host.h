// The window system for the model: a QtFormWindow per loaded form, created
// when the form loads and let go when it unloads, repaints of picture boxes,
// pop-up menus, and the sync that runs after every event.
#pragma once

#include <QMenu>

#include <QPointer>
#include <QTimer>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/ui/dispatcher.h"
#include "platform/ui/form_handlers.h"
#include "platform/qt/qt_form_window.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/ui/model.h"

namespace qx::qt {

class QtWindowHost final : public ui::WindowHost {
public:
    QtWindowHost(ui::Dispatcher& dispatcher, QtTimerHost& timers);
    ~QtWindowHost() override;
    QtWindowHost(const QtWindowHost&) = delete;
    QtWindowHost& operator=(const QtWindowHost&) = delete;

    void refresh(ui::Control& box) override;
    void popupMenu(ui::MenuItem& menu) override;
    // The first form loaded is the start-up window: centred on the screen.
    void formLoaded(ui::Form& form) override;
    void formUnloaded(ui::Form& form) override;

    // Pushes every form's changes to its window.
    void syncAll();
    // Asks for a sync from the event loop.
    void syncSoon();

    // What a window's close box does and where the keys it passes go.
    ui::FormHandlers& handlers() { return handlers_; }
    void closeBox(ui::Form& form) { handlers_.close(form); }
    bool key(ui::Form& form, std::string_view name) { return handlers_.key(form, name); }

    ui::Dispatcher& dispatcher() { return dispatcher_; }
    // True while refresh() repaints: the handler asking for it syncs after.
    bool refreshing() const { return refreshing_; }
    // While the notification area opens the icon's menu itself, a pop-up
    // request only brings the menu's entries up to date.
    void setMenuOpeningElsewhere(bool opening) { menuOpeningElsewhere_ = opening; }
    // The menu shown for a pop-up entry of a window (nullptr if none).
    QMenu* menuOf(ui::MenuItem& menu);
    QAction* actionOf(ui::MenuItem& item);

    QtFormWindow* windowOf(const ui::Form& form) const;
    QtFormWindow* startupWindow() const;
    // The loaded windows, the start-up window first.
    const std::vector<QtFormWindow*>& windows() const { return windows_; }
    QWidget* widgetOf(const ui::Control& control) const;

    // Keeps the start-up window above all others, or lets it go back among
    // them, in the same place and size. False when there is no window.
    bool setStaysOnTop(bool onTop);

private:
    bool menuOpeningElsewhere_ = false;
    ui::Dispatcher& dispatcher_;
    QtTimerHost& timers_;
    std::vector<QtFormWindow*> windows_;  // owned; the first is the start-up window
    ui::FormHandlers handlers_;
    QTimer syncTimer_;
    bool refreshing_ = false;
};

}  // namespace qx::qt
