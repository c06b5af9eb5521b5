#include "platform/qt/qt_tray_icon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QVariant>

#include "platform/qt/icons.h"

namespace qx::qt {

TrayKind detectTrayKind() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return TrayKind::XEmbed;
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    if (!bus.interface()->isServiceRegistered(watcher)) return TrayKind::XEmbed;
    QDBusInterface properties(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    const QVariant hostRegistered = properties.property("IsStatusNotifierHostRegistered");
    return hostRegistered.toBool() ? TrayKind::StatusNotifier : TrayKind::XEmbed;
}

int trayMouseMessage(QSystemTrayIcon::ActivationReason reason, TrayKind kind) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            return kind == TrayKind::XEmbed ? kTrayDoubleClick : 0;
        case QSystemTrayIcon::Trigger:
            return kind == TrayKind::StatusNotifier ? kTrayDoubleClick : 0;
        default: return 0;
    }
}

QtTrayIcon::QtTrayIcon(std::function<void(int message)> onMouse)
    : onMouse_(std::move(onMouse)), normal_(iconNamed("app")), warning_(iconNamed("warning")) {
    item_.onActivate = [this] {
        if (onMouse_) onMouse_(kTrayDoubleClick);
    };
    item_.onContextMenu = [this](int x, int y) {
        if (menu_) menu_->popup(QPoint(x, y));
    };
    item_.setOnWatcherChange([this](bool present) { watcherChanged(present); });
}

QtTrayIcon::~QtTrayIcon() = default;

const QIcon& QtTrayIcon::iconFor(TrayImage image) const {
    return image == TrayImage::Warning ? warning_ : normal_;
}

bool QtTrayIcon::add(TrayImage image, std::string_view tip) {
    const QString text = QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size()));
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        // Qt settled at start that there was no StatusNotifierItem host; one
        // that came since gets the program's own item.
        if (icon_) icon_->hide();
        itemUsed_ = item_.show(iconFor(image), text);
        if (itemUsed_) itemHost_ = true;
        return itemUsed_;
    }
    if (itemUsed_) {
        item_.hide();
        itemUsed_ = false;
    }
    if (!icon_) {
        kind_ = detectTrayKind();
        icon_ = std::make_unique<QSystemTrayIcon>();
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             const int message = trayMouseMessage(reason, kind_);
                             if (message != 0 && onMouse_) onMouse_(message);
                         });
    }
    icon_->setIcon(iconFor(image));
    icon_->setToolTip(text);
    icon_->show();
    return true;
}

bool QtTrayIcon::modify(TrayImage image, std::string_view tip) {
    if (itemUsed_) {
        item_.setIcon(iconFor(image), QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
        return true;
    }
    if (!icon_) return false;
    icon_->setIcon(iconFor(image));
    icon_->setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
    return true;
}

bool QtTrayIcon::remove() {
    if (itemUsed_) {
        item_.hide();
        itemUsed_ = false;
        return true;
    }
    if (!icon_) return false;
    icon_->hide();
    return true;
}

void QtTrayIcon::setContextMenu(QMenu* menu, std::function<void()> aboutToOpen) {
    if (!menu) return;
    menu_ = menu;
    QObject::connect(menu, &QMenu::aboutToShow, menu, std::move(aboutToOpen));
    if (icon_) icon_->setContextMenu(menu);
}

void QtTrayIcon::setOnHostChange(std::function<void(bool present)> onChange, int intervalMs) {
    onHostChange_ = std::move(onChange);
    watcher_ = StatusNotifierItem::watcherPresent();
    itemHost_ = itemUsed_ || StatusNotifierItem::hostPresent();
    hostPresent_ = hostPresent();
    QObject::disconnect(&hostWatch_, nullptr, nullptr, nullptr);
    QObject::connect(&hostWatch_, &QTimer::timeout, [this] { checkHost(); });
    hostWatch_.start(intervalMs);
}

bool QtTrayIcon::hostPresent() const { return QSystemTrayIcon::isSystemTrayAvailable() || itemHost_; }

void QtTrayIcon::checkHost() {
    // A watcher whose host hasn't registered yet is asked again on each look.
    if (watcher_ && !itemHost_ && !hostPresent_) itemHost_ = StatusNotifierItem::hostPresent();
    const bool present = hostPresent();
    if (present == hostPresent_) return;
    hostPresent_ = present;
    if (present && kind_ == TrayKind::StatusNotifier) kind_ = detectTrayKind();
    if (onHostChange_) onHostChange_(present);
}

void QtTrayIcon::watcherChanged(bool present) {
    watcher_ = present;
    if (present) {
        checkHost();
        return;
    }
    itemHost_ = false;
    if (itemUsed_) {
        // The item goes with its host; a new host gets it again.
        item_.hide();
        itemUsed_ = false;
    }
    checkHost();
}

bool QtTrayIcon::shown() const { return itemUsed_ || (icon_ && icon_->isVisible()); }

}  // namespace qx::qt
