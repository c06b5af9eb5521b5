#include "platform/qt/tray_icon.h"

#include "platform/qt/icons.h"

namespace qx::qt {

int trayMouseMessage(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick: return kTrayDoubleClick;
        case QSystemTrayIcon::Context: return kTrayContextClick;
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
        icon_ = std::make_unique<QSystemTrayIcon>();
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             const int message = trayMouseMessage(reason);
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

bool TrayIcon::shown() const { return icon_ && icon_->isVisible(); }

}  // namespace qx::qt
