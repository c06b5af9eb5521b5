#include "platform/qt/qt_window_host.h"

#include "platform/qt/twips.h"

namespace qx::qt {

QtWindowHost::QtWindowHost(ui::Dispatcher& dispatcher, QtTimerHost& timers)
    : host_(dispatcher, timers.table(), *this) {
    syncTimer_.setSingleShot(true);
    syncTimer_.setInterval(0);
    QObject::connect(&syncTimer_, &QTimer::timeout, [this] { host_.runSoon(); });
}

std::unique_ptr<ui::NativeForm> QtWindowHost::create(ui::Form& form, bool startup) {
    return std::make_unique<QtFormWindow>(
        form, host_, startup ? QtFormWindow::Placement::CentreOfScreen : QtFormWindow::Placement::FromModel);
}

double QtWindowHost::twipsPerPixel() const { return kTwipsPerPixel; }

QtFormWindow* QtWindowHost::windowOf(const ui::Form& form) const {
    return static_cast<QtFormWindow*>(host_.windowOf(form));
}

QtFormWindow* QtWindowHost::startupWindow() const { return static_cast<QtFormWindow*>(host_.startupWindow()); }

QWidget* QtWindowHost::widgetOf(const ui::Control& control) const {
    const QtFormWindow* w = windowOf(control.form());
    return w ? w->widgetOf(control) : nullptr;
}

MenuView* QtWindowHost::menusWith(const ui::MenuItem& item) const {
    auto* window = static_cast<QtFormWindow*>(host_.windowWithMenu(item));
    return window ? window->menus() : nullptr;
}

QMenu* QtWindowHost::menuOf(const ui::MenuItem& menu) const {
    MenuView* menus = menusWith(menu);
    return menus ? menus->menuOf(menu) : nullptr;
}

QAction* QtWindowHost::actionOf(const ui::MenuItem& item) const {
    MenuView* menus = menusWith(item);
    return menus ? menus->actionOf(item) : nullptr;
}

bool QtWindowHost::setStaysOnTop(bool onTop) {
    QtFormWindow* w = startupWindow();
    if (!w) return false;
    if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return true;
    // Changing a window's flags hides it; bring it back where it was.
    const bool wasVisible = w->isVisible();
    const QRect geometry = w->geometry();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    w->setGeometry(geometry);
    if (wasVisible) w->show();
    return true;
}

}  // namespace qx::qt
