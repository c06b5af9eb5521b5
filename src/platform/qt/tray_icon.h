// The notification-area icon on QSystemTrayIcon. Clicks on it reach the
// program as the mouse messages the window model expects: 515 for a
// double-click, 517 for the context click (right button released).
#pragma once

#include <QIcon>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/system.h"

namespace qx::qt {

inline constexpr int kTrayDoubleClick = 515;
inline constexpr int kTrayContextClick = 517;

// The mouse message for an activation of the icon; 0 for one the program
// doesn't answer. Where a tray reports clicks differently (an XEmbed tray
// and a StatusNotifierItem host do not agree on double-clicks), this is the
// one place to tell them apart.
int trayMouseMessage(QSystemTrayIcon::ActivationReason reason);

class TrayIcon {
public:
    explicit TrayIcon(std::function<void(int message)> onMouse);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // False, adding nothing, when the desktop has no notification area.
    bool add(TrayImage image, std::string_view tip);
    bool modify(TrayImage image, std::string_view tip);
    bool remove();
    bool shown() const;

    // Where clicks go; replaces the one given at construction.
    void setOnMouse(std::function<void(int message)> onMouse) { onMouse_ = std::move(onMouse); }

private:
    const QIcon& iconFor(TrayImage image) const;

    std::function<void(int)> onMouse_;
    QIcon normal_;
    QIcon warning_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace qx::qt
