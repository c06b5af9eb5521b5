// The Qt side of the shared form host: a QtFormWindow for each loaded form,
// syncs run from the event loop, and the windows' menus and widgets for
// the notification area and the tests.
#pragma once

#include <QAction>
#include <QMenu>
#include <QTimer>

#include "platform/qt/qt_form_window.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/ui/form_host.h"

namespace qx::qt {

class QtWindowHost final : public ui::NativeForms {
public:
    QtWindowHost(ui::Dispatcher& dispatcher, QtTimerHost& timers);

    ui::FormHost& host() { return host_; }
    ui::Dispatcher& dispatcher() { return host_.dispatcher(); }

    // ui::NativeForms
    std::unique_ptr<ui::NativeForm> create(ui::Form& form, bool startup) override;
    double twipsPerPixel() const override;
    void callSoon() override { syncTimer_.start(); }

    QtFormWindow* windowOf(const ui::Form& form) const;
    QtFormWindow* startupWindow() const;
    QWidget* widgetOf(const ui::Control& control) const;
    // The menu shown for a pop-up entry, and the action of an entry (nullptr if none).
    QMenu* menuOf(const ui::MenuItem& menu) const;
    QAction* actionOf(const ui::MenuItem& item) const;

    // Keeps the start-up window above all others, or lets it go back among
    // them, in the same place and size. False when there is no window.
    bool setStaysOnTop(bool onTop);

private:
    MenuView* menusWith(const ui::MenuItem& item) const;

    QTimer syncTimer_;
    ui::FormHost host_;
};

}  // namespace qx::qt
