// How an XEmbed tray's clicks become mouse messages.
#include <gtest/gtest.h>

#include "platform/qt/qt_tray_icon.h"

namespace qx::qt {
namespace {

TEST(TrayClicks, AnXEmbedDoubleClickTogglesOnceAndOtherClicksNot) {
    // An XEmbed tray reports a double-click as Trigger, then DoubleClick.
    int toggles = 0;
    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
                        QSystemTrayIcon::MiddleClick}) {
        toggles += trayMouseMessage(reason) == kTrayDoubleClick;
    }
    EXPECT_EQ(toggles, 1);
}

}  // namespace
}  // namespace qx::qt
