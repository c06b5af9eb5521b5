// The notification-area icon as a StatusNotifierItem of the program's own,
// on the session bus. Qt looks for a StatusNotifierItem host once per
// process, at start; a panel that comes later (the program started at
// log-in before it) would never get the icon. This item is exported when
// such a host is there and registered with its watcher whenever the watcher
// comes (again).
#pragma once

#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QIcon>
#include <QString>
#include <functional>

namespace qx::qt {

class StatusNotifierItem final : public QDBusVirtualObject {
public:
    StatusNotifierItem();
    ~StatusNotifierItem() override;
    StatusNotifierItem(const StatusNotifierItem&) = delete;
    StatusNotifierItem& operator=(const StatusNotifierItem&) = delete;

    // Whether the session bus has a StatusNotifierWatcher with a host
    // registered with it.
    static bool hostPresent();
    // Whether a StatusNotifierWatcher is on the session bus.
    static bool watcherPresent();

    // Puts the item on the bus and registers it with the watcher; false when
    // there is no host or the bus refuses it.
    bool show(const QIcon& icon, const QString& tip);
    void setIcon(const QIcon& icon, const QString& tip);
    void hide();
    bool shown() const { return shown_; }

    // A click on the item (the host's Activate).
    std::function<void()> onActivate;
    // The host asks for the context menu at (x, y) on the screen.
    std::function<void(int x, int y)> onContextMenu;

    // The watcher came (true) or went away (false).
    void setOnWatcherChange(std::function<void(bool present)> onChange);

    // QDBusVirtualObject
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QVariant property(const QString& name) const;
    void registerWithWatcher();
    void signal(const char* name);

    QString service_;
    QIcon icon_;
    QString tip_;
    bool shown_ = false;
    bool exported_ = false;
    QDBusServiceWatcher watcher_;
    std::function<void(bool)> onWatcherChange_;
};

}  // namespace qx::qt
