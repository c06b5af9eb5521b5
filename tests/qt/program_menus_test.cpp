// The real program's menus, shortcuts, About box and window commands on
// the offscreen platform.
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <iostream>
#include <string>

#include "about/frm_about.h"
#include "platform/qt/qt_timer_host.h"
#include "program_fixture.h"

namespace qx::qt {
namespace {

using testing::Program;
using testing::WaitFor;

QAction* ActionOf(Program& p, const ui::MenuItem& item) { return p.window()->menus()->actionOf(item); }

TEST(ProgramMenus, MenuBarHoldsTheVisibleMenusWithTheirEntriesAndShortcuts) {
    Program p;
    QMenuBar* bar = p.window()->menuBar();
    QStringList shown;
    for (QAction* a : bar->actions()) {
        if (a->isVisible()) shown << a->text();
    }
    EXPECT_EQ(shown, (QStringList{"&System", "&Help"}));
    EXPECT_FALSE(ActionOf(p, p.main.mnuPopUp)->isVisible());

    QMenu* file = p.window()->menus()->menuOf(p.main.mnuFile);
    ASSERT_NE(file, nullptr);
    QStringList entries;
    for (QAction* a : file->actions()) entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(entries, (QStringList{"&Free memory", "Free memory and &Quit", "Free memory &when full", "-",
                                    "&Speed", "-", "&Top Most", "&Hide to system tray", "-", "E&xit"}));
    EXPECT_NE(p.window()->menus()->menuOf(p.main.mnuSpeed), nullptr);
    EXPECT_EQ(ActionOf(p, p.main.mnuDefragMemory1)->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    EXPECT_EQ(ActionOf(p, p.main.mnuExit)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(ActionOf(p, p.main.mnuAbout)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(ActionOf(p, p.main.mnuSpeedNormal)->isChecked());
    EXPECT_FALSE(ActionOf(p, p.main.mnuSpeedSlow)->isChecked());
}

TEST(ProgramMenus, SpeedEntriesChangeTheTimerAndTheHandlerOwnsTheChecks) {
    Program p;
    const QTimer* readout = p.backend.timers().qtimerOf(p.main.tmrUpdateMemoryInformation);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->interval(), 100);

    ActionOf(p, p.main.mnuSpeedSlow)->trigger();
    EXPECT_EQ(readout->interval(), 500);
    EXPECT_TRUE(readout->isActive());
    EXPECT_TRUE(ActionOf(p, p.main.mnuSpeedSlow)->isChecked());
    EXPECT_FALSE(ActionOf(p, p.main.mnuSpeedNormal)->isChecked());

    // With the menu disabled the entry does nothing, and its check mark
    // stays as the model has it.
    p.event([&] { p.main.mnuFile.setEnabled(false); });
    EXPECT_FALSE(ActionOf(p, p.main.mnuFile)->isEnabled());
    ActionOf(p, p.main.mnuSpeedSlow)->trigger();
    EXPECT_TRUE(p.main.mnuSpeedSlow.checked());
    EXPECT_TRUE(ActionOf(p, p.main.mnuSpeedSlow)->isChecked());
    EXPECT_EQ(readout->interval(), 500);
}

TEST(ProgramMenus, TopMostKeepsTheWindowWhereItWas) {
    Program p;
    QtFormWindow* window = p.window();
    const QRect before = window->geometry();
    ActionOf(p, p.main.mnuTopWindow)->trigger();
    EXPECT_TRUE(p.main.mnuTopWindow.checked());
    EXPECT_TRUE(ActionOf(p, p.main.mnuTopWindow)->isChecked());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), before);

    ActionOf(p, p.main.mnuTopWindow)->trigger();
    EXPECT_FALSE(ActionOf(p, p.main.mnuTopWindow)->isChecked());
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), before);
}

TEST(ProgramMenus, ShortcutKeysRunTheirEntries) {
    Program p;
    QtFormWindow* window = p.window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(p.main.mnuDefragMemory3.checked());
    EXPECT_TRUE(p.main.tmrCheckIfMemoryFull.enabled());
    EXPECT_TRUE(p.backend.timers().qtimerOf(p.main.tmrCheckIfMemoryFull)->isActive());
    QTest::keyClick(window, Qt::Key_U, Qt::ControlModifier);
    EXPECT_FALSE(p.main.mnuDefragMemory3.checked());
    EXPECT_FALSE(p.backend.timers().qtimerOf(p.main.tmrCheckIfMemoryFull)->isActive());
}

TEST(ProgramMenus, AboutBoxDisablesTheMainWindowUntilItCloses) {
    Program p;
    QtFormWindow* window = p.window();
    ActionOf(p, p.main.mnuAbout)->trigger();
    FrmAbout* about = p.main.about();
    ASSERT_NE(about, nullptr);
    QtFormWindow* box = p.backend.windows().windowOf(*about);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(WaitFor([&] { return box->isVisible(); }));
    EXPECT_FALSE(window->isEnabled());
    EXPECT_TRUE(box->isEnabled());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About Quendax"));
    EXPECT_EQ(box->minimumSize(), box->maximumSize());  // not resizable
    EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(box->clientArea()->size(), QSize(4035 / 15, 3255 / 15));
    // Centred over the main window.
    EXPECT_LE(std::abs(box->frameGeometry().center().x() - window->frameGeometry().center().x()), 2);
    EXPECT_LE(std::abs(box->frameGeometry().center().y() - window->frameGeometry().center().y()), 2);
    auto* ok = qobject_cast<QPushButton*>(box->widgetOf(about->cmdOK));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(box->focusWidget(), ok);  // the lowest tab index
    EXPECT_EQ(box->widgetOf(about->lblTitle)->font().pointSizeF(), 12.0);
    EXPECT_TRUE(box->widgetOf(about->lblTitle)->font().bold());
    EXPECT_EQ(box->widgetOf(about->Label1)->font().pointSizeF(), 9.75);
    const std::string picture = std::string(QX_TEST_ARTIFACT_DIR) + "/quendax-about.png";
    EXPECT_TRUE(box->grab().save(QString::fromStdString(picture), "PNG"));
    std::cout << "about box: " << picture << std::endl;

    // The main window's entries do nothing while it is disabled.
    ActionOf(p, p.main.mnuAbout)->trigger();
    EXPECT_EQ(p.main.about(), about);

    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(p.main.about(), nullptr);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(box->isVisible());

    // Again, closed by its close box this time.
    ActionOf(p, p.main.mnuAbout)->trigger();
    ASSERT_NE(p.main.about(), nullptr);
    QtFormWindow* second = p.backend.windows().windowOf(*p.main.about());
    ASSERT_NE(second, nullptr);
    second->close();
    EXPECT_EQ(p.main.about(), nullptr);
    EXPECT_TRUE(window->isEnabled());

    // And by its OK button.
    ActionOf(p, p.main.mnuAbout)->trigger();
    ASSERT_NE(p.main.about(), nullptr);
    QtFormWindow* third = p.backend.windows().windowOf(*p.main.about());
    QTest::mouseClick(third->widgetOf(p.main.about()->cmdOK), Qt::LeftButton);
    EXPECT_EQ(p.main.about(), nullptr);
    EXPECT_TRUE(window->isEnabled());
}

TEST(ProgramMenus, TrayRightClickPopsUpTheMenuWithTheShowHideEntry) {
    Program p;
    p.event([&] { p.main.TrayIcon_MouseMove(0, 0, 517.0f * 15, 0); });
    QMenu* popup = p.window()->menus()->menuOf(p.main.mnuPopUp);
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(WaitFor([&] { return popup->isVisible(); }));
    EXPECT_EQ(ActionOf(p, p.main.mnuShow)->text(), QStringLiteral("&Hide"));
    popup->hide();
}

TEST(ProgramMenus, MinimizingAndDoubleClickingFollowTheModel) {
    Program p;
    QtFormWindow* window = p.window();
    window->showMinimized();
    ASSERT_TRUE(WaitFor([&] { return p.main.windowState() == ui::kMinimized; }));
    // Without a notification area (offscreen has none) the window stays
    // minimized instead of being hidden.
    EXPECT_FALSE(p.main.trayAvailable());
    EXPECT_TRUE(p.main.visible());
    window->showNormal();
    ASSERT_TRUE(WaitFor([&] { return p.main.windowState() == ui::kNormal; }));

    // A double-click on a value label hides the window the same way.
    QTest::mouseDClick(p.widget(p.main.lblFreePhysicalShow), Qt::LeftButton);
    EXPECT_EQ(p.main.windowState(), ui::kMinimized);
    EXPECT_TRUE(WaitFor([&] { return window->isMinimized(); }));
}

}  // namespace
}  // namespace qx::qt
