// The menus as HMENUs: captions with their mnemonics and shortcuts, check
// marks, enabled state, hidden entries, the hidden pop-up, the accelerator
// table, and the pop-up's foreground/WM_NULL sequence.
#include "platform/win32/ui/accelerators.h"
#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/menu_set.h"

#include <gtest/gtest.h>

#include <string>

#include "test_form.h"

namespace qx::win32ui::test {
namespace {

struct ItemInfo {
    std::wstring text;
    UINT state = 0;
    HMENU submenu = nullptr;
};

ItemInfo itemAt(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 128;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
    return {text, info.fState, info.hSubMenu};
}

TEST(MenuSetTest, TheBarHoldsTheVisibleMenusWithTheirMnemonics) {
    TestForm form;
    MenuSet menus(form);
    ASSERT_NE(menus.bar(), nullptr);
    ASSERT_EQ(GetMenuItemCount(menus.bar()), 2) << "the hidden pop-up stays out of the bar";
    EXPECT_EQ(itemAt(menus.bar(), 0).text, L"&File");
    EXPECT_EQ(itemAt(menus.bar(), 1).text, L"&Help");
    HMENU file = itemAt(menus.bar(), 0).submenu;
    ASSERT_EQ(file, menus.menuOf(form.mnuFile));
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(itemAt(file, 0).text, L"&Free memory\tCtrl+F");
    EXPECT_EQ(itemAt(file, 2).text, L"&Top Most\tCtrl+T");
    HMENU popup = menus.menuOf(form.mnuPopUp);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(itemAt(popup, 0).text, L"&Hide");
}

TEST(MenuSetTest, ChecksEnablingCaptionsAndHidingFollowTheModel) {
    TestForm form;
    MenuSet menus(form);
    HMENU file = menus.menuOf(form.mnuFile);
    EXPECT_FALSE(itemAt(file, 2).state & MFS_CHECKED);
    form.mnuTop.setChecked(true);
    form.mnuFree.setEnabled(false);
    form.mnuShow.setCaption("&Show");
    menus.syncFromModel();
    EXPECT_TRUE(itemAt(file, 2).state & MFS_CHECKED);
    EXPECT_TRUE(itemAt(file, 0).state & MFS_GRAYED);
    EXPECT_EQ(itemAt(menus.menuOf(form.mnuPopUp), 0).text, L"&Show");
    EXPECT_FALSE(menus.takeBarChanged()) << "only drop-downs changed";

    form.mnuFree.setVisible(false);
    menus.syncFromModel();
    ASSERT_EQ(GetMenuItemCount(file), 2);
    EXPECT_EQ(itemAt(file, 1).text, L"&Top Most\tCtrl+T");
    EXPECT_TRUE(itemAt(file, 1).state & MFS_CHECKED) << "a re-listed entry keeps its check mark";
    form.mnuFree.setVisible(true);
    menus.syncFromModel();
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(itemAt(file, 0).text, L"&Free memory\tCtrl+F");
    EXPECT_TRUE(itemAt(file, 0).state & MFS_GRAYED);

    form.mnuHelp.setEnabled(false);
    menus.syncFromModel();
    EXPECT_TRUE(itemAt(menus.bar(), 1).state & MFS_GRAYED);
    EXPECT_TRUE(menus.takeBarChanged());
}

TEST(MenuSetTest, CommandsLeadBackToTheirEntries) {
    TestForm form;
    MenuSet menus(form);
    for (ui::MenuItem* item : form.allMenuItems()) {
        EXPECT_EQ(menus.itemForCommand(menus.commandOf(*item)), item);
    }
    EXPECT_EQ(menus.itemForCommand(1), nullptr);
    EXPECT_EQ(menus.itemForCommand(MenuSet::kFirstCommand + 500), nullptr);
}

TEST(AcceleratorTest, ShortcutTextsBecomeVirtualKeys) {
    const auto ctrlF = parseShortcut("Ctrl+F", 7);
    ASSERT_TRUE(ctrlF);
    EXPECT_EQ(ctrlF->fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(ctrlF->key, 'F');
    EXPECT_EQ(ctrlF->cmd, 7);
    const auto f1 = parseShortcut("F1", 8);
    ASSERT_TRUE(f1);
    EXPECT_EQ(f1->fVirt, FVIRTKEY);
    EXPECT_EQ(f1->key, VK_F1);
    const auto shiftDel = parseShortcut("Ctrl+Shift+Del", 9);
    ASSERT_TRUE(shiftDel);
    EXPECT_EQ(shiftDel->fVirt, FVIRTKEY | FCONTROL | FSHIFT);
    EXPECT_EQ(shiftDel->key, VK_DELETE);
    EXPECT_EQ(parseShortcut("F12", 1)->key, VK_F12);
    EXPECT_FALSE(parseShortcut("", 1));
    EXPECT_FALSE(parseShortcut("Ctrl+", 1));
    EXPECT_FALSE(parseShortcut("Hyper+F", 1));
    EXPECT_FALSE(parseShortcut("F25", 1));
}

TEST(AcceleratorTest, TheTableHoldsEveryShortcutOfTheForm) {
    TestForm form;
    MenuSet menus(form);
    AcceleratorTable table(form, menus);
    ASSERT_NE(table.handle(), nullptr);
    ASSERT_EQ(table.size(), 3);
    ACCEL accels[3];
    ASSERT_EQ(CopyAcceleratorTableW(table.handle(), accels, 3), 3);
    EXPECT_EQ(accels[0].cmd, menus.commandOf(form.mnuFree));
    EXPECT_EQ(accels[1].cmd, menus.commandOf(form.mnuTop));
    EXPECT_EQ(accels[2].cmd, menus.commandOf(form.mnuAbout));
    EXPECT_EQ(accels[2].key, VK_F1);
}

void CALLBACK closeMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

TEST(PopupMenuTest, ThePopupClosesAndAWmNullFollows) {
    TestForm form;
    FormWindowOptions options;
    options.instance = GetModuleHandleW(nullptr);
    FormWindow window(form, options, {});
    form.show();
    window.syncFromModel();
    MSG stale;
    while (PeekMessageW(&stale, window.handle(), 0, 0, PM_REMOVE)) DispatchMessageW(&stale);
    // The menu runs its own loop; a timer in it closes the menu again.
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, closeMenu);
    ASSERT_NE(timer, 0u);
    window.popupMenu(form.mnuPopUp);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window.handle(), WM_NULL, WM_NULL, PM_REMOVE));
}

}  // namespace
}  // namespace qx::win32ui::test
