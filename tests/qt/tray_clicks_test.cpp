// How the two kinds of notification area's clicks become mouse messages.
#include <gtest/gtest.h>

#include "platform/qt/qt_tray_icon.h"

namespace qx::qt {
namespace {

int Messages(std::initializer_list<QSystemTrayIcon::ActivationReason> reasons, TrayKind kind) {
    int toggles = 0;
    for (auto reason : reasons) toggles += trayMouseMessage(reason, kind) == kTrayDoubleClick;
    return toggles;
}

TEST(TrayClicks, AnXEmbedDoubleClickTogglesOnceAndASingleClickNot) {
    // An XEmbed tray reports a double-click as Trigger, then DoubleClick.
    EXPECT_EQ(Messages({QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}, TrayKind::XEmbed), 1);
    EXPECT_EQ(Messages({QSystemTrayIcon::Trigger}, TrayKind::XEmbed), 0);
}

TEST(TrayClicks, AStatusNotifierClickToggles) {
    // A StatusNotifierItem host reports a click or a double-click as one Trigger.
    EXPECT_EQ(Messages({QSystemTrayIcon::Trigger}, TrayKind::StatusNotifier), 1);
    EXPECT_EQ(Messages({QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}, TrayKind::StatusNotifier), 1);
}

TEST(TrayClicks, TheContextClickComesFromTheMenuNotTheActivation) {
    for (TrayKind kind : {TrayKind::XEmbed, TrayKind::StatusNotifier}) {
        EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::Context, kind), 0);
        EXPECT_EQ(trayMouseMessage(QSystemTrayIcon::MiddleClick, kind), 0);
    }
}

TEST(TrayClicks, WithoutASessionBusTheTrayIsXEmbed) {
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_EQ(detectTrayKind(), TrayKind::XEmbed);
}

}  // namespace
}  // namespace qx::qt
