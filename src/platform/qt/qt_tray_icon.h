// The notification-area icon on QSystemTrayIcon. Clicks on it reach the
// program as the mouse messages the window model expects: 515 for a
// double-click, 517 for the context click (right button released).
#pragma once

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/qt/status_notifier_item.h"
#include "platform/system.h"

namespace qx::qt {

// Two kinds of notification area report clicks differently. An XEmbed tray
// (trayer, older panels) reports a double-click as Trigger then DoubleClick.
// A StatusNotifierItem host (KDE, most bars) never reports DoubleClick: a
// click or a double-click arrives as one Trigger. Both show the context menu
// themselves (the host draws the one Qt exports).
enum class TrayKind { XEmbed, StatusNotifier };

// Asks the session bus what Qt asks before it picks the kind of icon: is a
// StatusNotifierWatcher there, with a host registered?
TrayKind detectTrayKind();

// The mouse message for an activation of the icon; 0 for one the program
// doesn't answer. One real double-click gives one 515, never two. The context
// click comes from the menu itself (see setContextMenu), so it gives 0 here.
int trayMouseMessage(QSystemTrayIcon::ActivationReason reason, TrayKind kind);

class QtTrayIcon {
public:
    explicit QtTrayIcon(std::function<void(int message)> onMouse);
    ~QtTrayIcon();
    QtTrayIcon(const QtTrayIcon&) = delete;
    QtTrayIcon& operator=(const QtTrayIcon&) = delete;

    // False, adding nothing, when the desktop has no notification area.
    bool add(TrayImage image, std::string_view tip);
    bool modify(TrayImage image, std::string_view tip);
    bool remove();
    bool shown() const;
    TrayKind kind() const { return kind_; }

    // The icon's context menu; `aboutToOpen` runs just before it shows.
    void setContextMenu(QMenu* menu, std::function<void()> aboutToOpen);

    // Where clicks go; replaces the one given at construction.
    void setOnMouse(std::function<void(int message)> onMouse) { onMouse_ = std::move(onMouse); }

    // Watches for the notification area going away (a panel restarting or
    // crashing) and for one coming; `onChange` hears each change, false for
    // gone. An XEmbed tray is looked for once a second (Qt tells of none); a
    // StatusNotifierItem host is heard of when its watcher comes or goes.
    void setOnHostChange(std::function<void(bool present)> onChange, int intervalMs = 1000);

private:
    const QIcon& iconFor(TrayImage image) const;
    // Whether there is a notification area now, of either kind.
    bool hostPresent() const;
    void checkHost();
    // The watcher of StatusNotifierItems came or went.
    void watcherChanged(bool present);

    std::function<void(int)> onMouse_;
    QIcon normal_;
    QIcon warning_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    // Used where Qt's own icon can't be: a host that came after the start.
    StatusNotifierItem item_;
    bool itemUsed_ = false;
    bool watcher_ = false;   // a StatusNotifierWatcher is on the bus
    bool itemHost_ = false;  // a StatusNotifierItem host is known to be there
    QMenu* menu_ = nullptr;
    TrayKind kind_ = TrayKind::XEmbed;
    std::function<void(bool)> onHostChange_;
    QTimer hostWatch_;
    bool hostPresent_ = false;
};

}  // namespace qx::qt
