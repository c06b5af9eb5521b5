#include "platform/qt/tray_icon.h"

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

TrayIcon::TrayIcon(std::function<void(int message)> onMouse)
    : onMouse_(std::move(onMouse)), normal_(iconNamed("app")), warning_(iconNamed("warning")) {}

TrayIcon::~TrayIcon() = default;

const QIcon& TrayIcon::iconFor(TrayImage image) const {
    return image == TrayImage::Warning ? warning_ : normal_;
}

bool TrayIcon::add(TrayImage image, std::string_view tip) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
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
    icon_->setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
    icon_->show();
    return true;
}

bool TrayIcon::modify(TrayImage image, std::string_view tip) {
    if (!icon_) return false;
    icon_->setIcon(iconFor(image));
    icon_->setToolTip(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size())));
    return true;
}

bool TrayIcon::remove() {
    if (!icon_) return false;
    icon_->hide();
    return true;
}

void TrayIcon::setContextMenu(QMenu* menu, std::function<void()> aboutToOpen) {
    if (!icon_ || !menu) return;
    QObject::connect(menu, &QMenu::aboutToShow, icon_.get(), std::move(aboutToOpen));
    icon_->setContextMenu(menu);
}

void TrayIcon::setOnHostChange(std::function<void(bool present)> onChange, int intervalMs) {
    onHostChange_ = std::move(onChange);
    hostPresent_ = QSystemTrayIcon::isSystemTrayAvailable();
    QObject::disconnect(&hostWatch_, nullptr, nullptr, nullptr);
    QObject::connect(&hostWatch_, &QTimer::timeout, [this] {
        const bool present = QSystemTrayIcon::isSystemTrayAvailable();
        if (present == hostPresent_) return;
        hostPresent_ = present;
        if (present && kind_ == TrayKind::StatusNotifier) kind_ = detectTrayKind();
        if (onHostChange_) onHostChange_(present);
    });
    hostWatch_.start(intervalMs);
}

bool TrayIcon::shown() const { return icon_ && icon_->isVisible(); }

}  // namespace qx::qt
