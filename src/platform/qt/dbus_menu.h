// A menu of the model on the session bus as com.canonical.dbusmenu, for a
// StatusNotifierItem's host to show: the entries and their properties come
// from ui::ExportedMenu; a host's click runs the entry as a click in the
// window's own menu would. Hosts hear of changes by LayoutUpdated and
// ItemsPropertiesUpdated.
#pragma once

#include <QDBusVirtualObject>
#include <functional>

#include "platform/ui/exported_menu.h"

namespace qx::qt {

class DBusMenu final : public QDBusVirtualObject {
public:
    static inline const QString kPath = QStringLiteral("/MenuBar");

    // `root`'s entries are the menu. `aboutToShow` runs as the host is
    // about to show it; `choose` runs a chosen entry, from the event loop.
    DBusMenu(ui::MenuItem& root, std::function<void()> aboutToShow, std::function<void(ui::MenuItem&)> choose);
    ~DBusMenu() override;
    DBusMenu(const DBusMenu&) = delete;
    DBusMenu& operator=(const DBusMenu&) = delete;

    // Puts the menu on the bus; false when its path is taken.
    bool exportTo(QDBusConnection bus);
    // Tells the hosts what changed in the model since the last look.
    void refresh();

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QDBusMessage layoutReply(const QDBusMessage& message) const;
    QDBusMessage groupPropertiesReply(const QDBusMessage& message) const;
    void event(int id, const QString& name);
    // Runs the opening handler; whether the menu changed.
    bool opening(int id);

    ui::ExportedMenu menu_;
    std::function<void()> aboutToShow_;
    std::function<void(ui::MenuItem&)> choose_;
    bool exported_ = false;
};

}  // namespace qx::qt
