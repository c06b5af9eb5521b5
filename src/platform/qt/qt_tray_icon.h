// The notification-area icon. Wherever a StatusNotifierWatcher is on the
// session bus, or comes, the icon is a StatusNotifierItem of the program's
// own with its menu exported (com.canonical.dbusmenu); where none is, it is
// Qt's icon in an XEmbed tray on X11. Clicks reach the program as the mouse
// messages the window model expects: 515 for the click that shows or hides
// the window, 517 for the context click (right button released).
#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/qt/dbus_menu.h"
#include "platform/qt/status_notifier_item.h"
#include "platform/qt/status_notifier_watch.h"
#include "platform/system.h"
#include "platform/ui/click_repeats.h"

namespace qx::qt {

// The mouse message for an activation of Qt's XEmbed icon; 0 for one the
// program doesn't answer. An XEmbed tray reports a double-click as Trigger,
// then DoubleClick: one double-click gives one 515. The context click comes
// from the menu itself (see setContextMenu), so it gives 0 here.
int trayMouseMessage(QSystemTrayIcon::ActivationReason reason);

class QtTrayIcon {
public:
    explicit QtTrayIcon(std::function<void(int message)> onMouse);
    ~QtTrayIcon();
    QtTrayIcon(const QtTrayIcon&) = delete;
    QtTrayIcon& operator=(const QtTrayIcon&) = delete;

    // False when the desktop has no notification area now; the icon is
    // wanted all the same, and put in one as soon as one comes.
    bool add(TrayImage image, std::string_view tip);
    bool modify(TrayImage image, std::string_view tip);
    bool remove();
    bool shown() const;

    // The icon's context menu: `menu` shows `popup`'s entries in an XEmbed
    // tray, a StatusNotifierItem host gets them over the bus. `aboutToOpen`
    // runs just before either shows them; `choose` runs an entry chosen in
    // the host's menu.
    void setContextMenu(QMenu* menu, ui::MenuItem& popup, std::function<void()> aboutToOpen,
                        std::function<void(ui::MenuItem&)> choose);
    // The model's entries may have changed: hosts hear of it.
    void syncMenu();

    // Where clicks go; replaces the one given at construction.
    void setOnMouse(std::function<void(int message)> onMouse) { onMouse_ = std::move(onMouse); }

    // Starts watching for a notification area going away (a panel
    // restarting or crashing) and one coming; `onChange` hears each change,
    // false for gone. StatusNotifierItem hosts are heard of from the bus; an
    // XEmbed tray is looked for every `intervalMs` while no watcher is there.
    void setOnHostChange(std::function<void(bool present)> onChange, int intervalMs = 1000);

private:
    const QIcon& iconFor(TrayImage image) const;
    // Whether there is a notification area now, of either kind.
    bool present() const;
    // Puts the wanted icon where the desktop has its area now.
    void place();
    void hostMaybeChanged();
    void activated();

    std::function<void(int)> onMouse_;
    QIcon normal_;
    QIcon warning_;
    TrayImage image_ = TrayImage::Normal;
    QString tip_;
    bool wanted_ = false;
    StatusNotifierWatch watch_;
    StatusNotifierItem item_;
    std::unique_ptr<DBusMenu> busMenu_;
    std::unique_ptr<QSystemTrayIcon> xembed_;
    QMenu* menu_ = nullptr;
    bool xembedTray_ = false;
    QTimer xembedLook_;
    ui::ClickRepeats repeats_;
    QElapsedTimer clock_;
    std::function<void(bool)> onHostChange_;
    bool hostPresent_ = false;
};

}  // namespace qx::qt
