// The notification-area icon as a StatusNotifierItem of the program's own,
// on the session bus, with its menu (com.canonical.dbusmenu, see DBusMenu).
// Every call to the watcher goes out without waiting for its answer: a
// panel that hangs can't hold up the window.
#pragma once

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

    // Puts the item on the bus and registers it with the watcher; false when
    // the item's path can't be had.
    bool show(const QIcon& icon, const QString& tip);
    void setIcon(const QIcon& icon, const QString& tip);
    void hide();
    bool shown() const { return shown_; }
    // A new watcher knows nothing of the item: tells it.
    void registerAgain();
    // Where the item's menu is on the bus.
    void setMenuPath(const QString& path) { menuPath_ = path; }

    // A click on the item (the host's Activate), run after the host has its
    // answer.
    std::function<void()> onActivate;
    // The host asks for the context menu at (x, y) on the screen, where it
    // doesn't show the exported one itself.
    std::function<void(int x, int y)> onContextMenu;

    // QDBusVirtualObject
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QVariant property(const QString& name) const;
    void signal(const char* name);
    void requestName();
    // Registers the item, `tries` times at most while the watcher refuses.
    void registerWithWatcher(int tries);

    QString service_;
    QString menuPath_ = QStringLiteral("/NO_DBUSMENU");
    QIcon icon_;
    QVariant pixmaps_;  // the icon as the item sends it, made once per icon
    QString tip_;
    bool shown_ = false;
    bool exported_ = false;
    bool named_ = false;
};

}  // namespace qx::qt
