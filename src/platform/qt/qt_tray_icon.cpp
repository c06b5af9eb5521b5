#include "platform/qt/qt_tray_icon.h"

#include <QGuiApplication>
#include <QStyleHints>

#include "platform/qt/icons.h"
#include "platform/qt/session_bus.h"
#include "platform/qt/x11_desktop.h"

namespace qx::qt {

namespace {
// The answer of a watcher at start is waited for this long at most, before
// the window is made.
constexpr int kStartWaitMs = 250;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

int trayMouseMessage(QSystemTrayIcon::ActivationReason reason) {
    return reason == QSystemTrayIcon::DoubleClick ? kTrayDoubleClick : 0;
}

QtTrayIcon::QtTrayIcon(std::function<void(int message)> onMouse)
    : onMouse_(std::move(onMouse)),
      normal_(iconNamed("app")),
      warning_(iconNamed("warning")),
      watch_(sessionBusIfAny()) {
    clock_.start();
    item_.onActivate = [this] { activated(); };
    item_.onContextMenu = [this](int x, int y) {
        // Wayland lets a program place a pop-up only by a window of its own
        // and after its own click: there it would open as a window in the
        // middle of the screen. The host shows the exported menu instead.
        if (menu_ && QGuiApplication::platformName() == QLatin1String("xcb")) menu_->popup(QPoint(x, y));
    };
    watch_.onChange = [this](bool watcherCame) {
        // A new watcher knows nothing of the item.
        if (watcherCame && item_.shown()) item_.registerAgain();
        place();
        hostMaybeChanged();
    };
    QObject::connect(&xembedLook_, &QTimer::timeout, [this] {
        if (watch_.watcherPresent()) return;
        const bool tray = xembedTrayPresent();
        if (tray == xembedTray_) return;
        xembedTray_ = tray;
        place();
        hostMaybeChanged();
    });
}

QtTrayIcon::~QtTrayIcon() = default;

const QIcon& QtTrayIcon::iconFor(TrayImage image) const {
    return image == TrayImage::Warning ? warning_ : normal_;
}

bool QtTrayIcon::present() const { return watch_.watcherPresent() ? watch_.hostPresent() : xembedTray_; }

void QtTrayIcon::place() {
    const bool asItem = wanted_ && watch_.watcherPresent();
    const bool inXEmbed = wanted_ && !asItem && xembedTray_;
    if (asItem && !item_.shown()) item_.show(iconFor(image_), tip_);
    if (!asItem) item_.hide();
    if (inXEmbed) {
        if (!xembed_) {
            // Made only where no watcher is: Qt then settles on its XEmbed icon.
            xembed_ = std::make_unique<QSystemTrayIcon>();
            QObject::connect(xembed_.get(), &QSystemTrayIcon::activated, xembed_.get(),
                             [this](QSystemTrayIcon::ActivationReason reason) {
                                 const int message = trayMouseMessage(reason);
                                 if (message != 0 && onMouse_) onMouse_(message);
                             });
            if (menu_) xembed_->setContextMenu(menu_);
        }
        xembed_->setIcon(iconFor(image_));
        xembed_->setToolTip(tip_);
        xembed_->show();
    } else if (xembed_) {
        xembed_->hide();
    }
}

bool QtTrayIcon::add(TrayImage image, std::string_view tip) {
    image_ = image;
    tip_ = toQString(tip);
    wanted_ = true;
    if (!watch_.watcherPresent()) xembedTray_ = xembedTrayPresent();
    place();
    return present();
}

bool QtTrayIcon::modify(TrayImage image, std::string_view tip) {
    image_ = image;
    tip_ = toQString(tip);
    if (item_.shown()) item_.setIcon(iconFor(image_), tip_);
    if (xembed_ && xembed_->isVisible()) {
        xembed_->setIcon(iconFor(image_));
        xembed_->setToolTip(tip_);
    }
    return shown();
}

bool QtTrayIcon::remove() {
    const bool was = shown();
    wanted_ = false;
    place();
    return was;
}

bool QtTrayIcon::shown() const { return item_.shown() || (xembed_ && xembed_->isVisible()); }

void QtTrayIcon::setContextMenu(QMenu* menu, ui::MenuItem& popup, std::function<void()> aboutToOpen,
                                std::function<void(ui::MenuItem&)> choose) {
    if (!menu) return;
    menu_ = menu;
    QObject::connect(menu, &QMenu::aboutToShow, menu, aboutToOpen);
    if (xembed_) xembed_->setContextMenu(menu);
    busMenu_ = std::make_unique<DBusMenu>(popup, std::move(aboutToOpen), std::move(choose));
    if (busMenu_->exportTo(sessionBusIfAny())) item_.setMenuPath(DBusMenu::kPath);
}

void QtTrayIcon::syncMenu() {
    if (busMenu_) busMenu_->refresh();
}

void QtTrayIcon::setOnHostChange(std::function<void(bool present)> onChange, int intervalMs) {
    onHostChange_ = std::move(onChange);
    watch_.start(kStartWaitMs);
    xembedTray_ = !watch_.watcherPresent() && xembedTrayPresent();
    hostPresent_ = present();
    // Only X11 has XEmbed trays.
    if (qGuiApp && qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) xembedLook_.start(intervalMs);
}

void QtTrayIcon::hostMaybeChanged() {
    const bool now = present();
    if (now == hostPresent_) return;
    hostPresent_ = now;
    if (onHostChange_) onHostChange_(now);
}

void QtTrayIcon::activated() {
    // One Activate per click: a double-click shows or hides the window once.
    const int doubleClickMs = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    if (repeats_.acts(clock_.elapsed(), doubleClickMs) && onMouse_) onMouse_(kTrayDoubleClick);
}

}  // namespace qx::qt
