#include "platform/qt/qt_window_host.h"

#include <QCursor>
#include <QMenu>

#include "platform/qt/twips.h"

namespace qx::qt {

QtWindowHost::QtWindowHost(ui::Dispatcher& dispatcher, QtTimerHost& timers)
    : dispatcher_(dispatcher), timers_(timers) {
    syncTimer_.setSingleShot(true);
    syncTimer_.setInterval(0);
    QObject::connect(&syncTimer_, &QTimer::timeout, [this] { dispatcher_.sync(); });
}

QtWindowHost::~QtWindowHost() {
    for (QtFormWindow* w : windows_) delete w;
}

void QtWindowHost::formLoaded(ui::Form& form) {
    if (windowOf(form)) return;
    form.host = this;
    form.setTwipsPerPixel(kTwipsPerPixel);
    timers_.adopt(form);
    const bool startup = windows_.empty();
    if (!startup) {
        QtFormWindow* main = startupWindow();
        const bool shown = main && main->isVisible();
        const QRect frame = shown ? main->frameGeometry() : QRect();
        const QRect inner = shown ? main->geometry() : QRect();
        ui::TakeDialogFrame(form, shown, frame.width() - inner.width(), frame.height() - inner.height());
    }
    windows_.push_back(new QtFormWindow(
        form, *this, startup ? QtFormWindow::Placement::CentreOfScreen : QtFormWindow::Placement::FromModel));
}

void QtWindowHost::formUnloaded(ui::Form& form) {
    QtFormWindow* window = windowOf(form);
    if (!window) return;
    timers_.release(form);
    window->detach();
    window->hide();
    // Its own event may be what unloaded it: delete it from the event loop.
    window->deleteLater();
    std::erase(windows_, window);
}

QtFormWindow* QtWindowHost::windowOf(const ui::Form& form) const {
    for (QtFormWindow* w : windows_) {
        if (w->form() == &form) return w;
    }
    return nullptr;
}

QtFormWindow* QtWindowHost::startupWindow() const { return windows_.empty() ? nullptr : windows_.front(); }

QWidget* QtWindowHost::widgetOf(const ui::Control& control) const {
    const QtFormWindow* w = windowOf(control.form());
    return w ? w->widgetOf(control) : nullptr;
}

void QtWindowHost::syncAll() {
    // A handler run from inside a push may load or unload a form.
    for (std::size_t i = 0; i < windows_.size(); ++i) windows_[i]->sync();
}

void QtWindowHost::syncSoon() {
    if (!syncTimer_.isActive()) syncTimer_.start();
}

void QtWindowHost::refresh(ui::Control& box) {
    QtFormWindow* w = windowOf(box.form());
    if (!w) return;
    // What the handler has changed so far goes out with this paint, so the
    // window is drawn and sent to the screen once, not once more after it.
    dispatcher_.sync();
    refreshing_ = true;
    w->repaintBox(box);
    refreshing_ = false;
}

void QtWindowHost::popupMenu(ui::MenuItem& menu) {
    for (QtFormWindow* w : windows_) {
        MenuView* menus = w->menus();
        if (!menus || !menus->contains(menu)) continue;
        menus->push();  // the handler may have just changed its entries
        if (menuOpeningElsewhere_) return;
        if (QMenu* qmenu = menus->menuOf(menu)) qmenu->popup(QCursor::pos());
        return;
    }
}

QMenu* QtWindowHost::menuOf(ui::MenuItem& menu) {
    for (QtFormWindow* w : windows_) {
        MenuView* menus = w->menus();
        if (menus && menus->contains(menu)) return menus->menuOf(menu);
    }
    return nullptr;
}

QAction* QtWindowHost::actionOf(ui::MenuItem& item) {
    for (QtFormWindow* w : windows_) {
        MenuView* menus = w->menus();
        if (menus && menus->contains(item)) return menus->actionOf(item);
    }
    return nullptr;
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
