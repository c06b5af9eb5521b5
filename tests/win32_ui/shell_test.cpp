// Timers, the notification-area icon's messages, stacking and warnings.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/message_box.h"
#include "platform/win32/ui/message_loop.h"
#include "platform/win32/ui/notify_icon.h"
#include "platform/win32/ui/message_window_timers.h"
#include "platform/win32/ui/warning_display.h"
#include "platform/win32/ui/window_stacking.h"
#include "test_form.h"

namespace qx::win32ui::test {
namespace {

// Runs the message loop until `done` or `ms` milliseconds have passed.
template <typename Done>
bool pumpUntil(Done done, DWORD ms) {
    MessageLoop loop;
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        loop.runPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

TEST(PeriodicTimersTest, AThrowingTickIsReportedAndTheTimerGoesOn) {
    int ticks = 0;
    int failures = 0;
    MessageWindowTimers timers(
        GetModuleHandleW(nullptr),
        [&](UINT_PTR) {
            ++ticks;
            throw std::runtime_error("tick failed");
        },
        [&](std::exception_ptr) { ++failures; });
    ASSERT_TRUE(timers.start(7, 20));
    ASSERT_TRUE(pumpUntil([&] { return ticks >= 2; }, 5000));
    EXPECT_EQ(failures, ticks);
    EXPECT_FALSE(timers.start(0, 20)) << "id 0 is no timer";
}

TEST(NotifyIconTest, MouseCodesAndTaskbarCreatedReachTheCallbacks) {
    std::vector<int> codes;
    std::vector<bool> recreated;
    NotifyIconEvents events;
    events.mouse = [&](int code) { codes.push_back(code); };
    events.taskbarCreated = [&](bool added) { recreated.push_back(added); };
    NotifyIcon icon(GetModuleHandleW(nullptr), events);
    ASSERT_NE(icon.window(), nullptr);
    ASSERT_NE(icon.taskbarCreatedMessage(), 0u);

    HICON image = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    const bool added = icon.add(image, "Quendax");
    EXPECT_EQ(icon.shown(), added);
    EXPECT_TRUE(icon.wanted());

    for (int code : {512, 515, 517}) SendMessageW(icon.window(), kNotifyIconCallback, kNotifyIconId, code);
    SendMessageW(icon.window(), kNotifyIconCallback, 2, 515);  // another icon's id: not ours
    EXPECT_EQ(codes, (std::vector<int>{512, 515, 517}));

    // Explorer came back: the wanted icon is added again.
    SendMessageW(icon.window(), icon.taskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(recreated.size(), 1u);
    EXPECT_EQ(recreated[0], icon.shown());

    icon.remove();
    EXPECT_FALSE(icon.wanted());
    SendMessageW(icon.window(), icon.taskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(recreated.size(), 2u);
    EXPECT_FALSE(recreated[1]) << "a removed icon stays away";
    EXPECT_FALSE(icon.shown());
}

TEST(NotifyIconTest, ATaskbarThatNeverAnswersHoldsNothingUp) {
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND taskbar = nullptr;
    std::thread stuck([&] {
        WNDCLASSW type{};
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&type);
        taskbar = CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, type.hInstance, nullptr);
        SetEvent(made);
        WaitForSingleObject(release, INFINITE);  // and reads no message meanwhile
        DestroyWindow(taskbar);
        UnregisterClassW(L"Shell_TrayWnd", type.hInstance);
    });
    WaitForSingleObject(made, INFINITE);
    const bool found = taskbar && FindWindowW(L"Shell_TrayWnd", nullptr) == taskbar;
    const DWORD start = GetTickCount();
    if (found) {
        NotifyIcon icon(GetModuleHandleW(nullptr), {});
        HICON image = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
        EXPECT_TRUE(icon.add(image, "Quendax"));
        EXPECT_TRUE(icon.modify(image, "Quendax"));
        SendMessageW(icon.window(), icon.taskbarCreatedMessage(), 0, 0);
        EXPECT_TRUE(icon.remove());
    }  // the last NIM_DELETE gets half a second
    EXPECT_LT(GetTickCount() - start, 2000u);
    SetEvent(release);
    stuck.join();
    CloseHandle(made), CloseHandle(release);
    EXPECT_TRUE(found) << "the stand-in taskbar is the one Shell_NotifyIconW finds";
}

TEST(StackingTest, TopMostKeepsPlaceAndSize) {
    TestForm form;
    FormWindowOptions options;
    options.instance = GetModuleHandleW(nullptr);
    FormWindow window(form, options, {});
    form.show();
    window.syncFromModel();
    const RECT before = window.outerRect();
    EXPECT_TRUE(setTopMost(window.handle(), true));
    EXPECT_TRUE(isTopMost(window.handle()));
    EXPECT_TRUE(setTopMost(window.handle(), false));
    EXPECT_FALSE(isTopMost(window.handle()));
    const RECT after = window.outerRect();
    EXPECT_TRUE(EqualRect(&before, &after));
}

BOOL CALLBACK noteIcon(HWND child, LPARAM found) {
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & WS_VISIBLE) && (style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0)) {
        *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
}

// Whether a message box shows an icon: a visible static control of the
// icon kind holding one.
bool showsIcon(HWND box) {
    bool found = false;
    EnumChildWindows(box, noteIcon, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(MessageBoxTest, TheBoxIsOwnedByTheMainWindowAndKeepsTheStyle) {
    TestForm form;
    FormWindowOptions options;
    options.instance = GetModuleHandleW(nullptr);
    FormWindow window(form, options, {});
    form.show();
    window.syncFromModel();
    struct Seen {
        HWND owner = nullptr;
        bool ownerEnabled = true;
        bool icon = false;
    } seen;
    // The box runs its own loop; a timer in it looks at the box and presses OK.
    MessageWindowTimers watch(
        GetModuleHandleW(nullptr),
        [&](UINT_PTR) {
            HWND box = FindWindowW(L"#32770", L"Error");  // the dialog class and the title
            if (!box) return;
            seen.owner = GetWindow(box, GW_OWNER);
            seen.ownerEnabled = IsWindowEnabled(window.handle()) != FALSE;
            seen.icon = showsIcon(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
        {});
    ASSERT_TRUE(watch.start(1, 100));
    EXPECT_EQ(showMessageBox(window.handle(), "Error defragmenting the memory!", "Error", 16), IDOK);
    EXPECT_EQ(seen.owner, window.handle());
    EXPECT_FALSE(seen.ownerEnabled) << "the main window waits while the box is open";
    EXPECT_TRUE(seen.icon) << "style 16 shows the stop icon";
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
}

TEST(WarningDisplayTest, OnlyTheFirstWarningShowsABox) {
    std::vector<std::wstring> boxes;
    WarningDisplay warnings([] { return HWND{}; }, [&](std::wstring_view text) { boxes.emplace_back(text); });
    warnings.warn("quendax: No notification area: the window stays on the taskbar.");
    warnings.warn("Again.");
    EXPECT_EQ(warnings.boxesShown(), 1);
    EXPECT_EQ(boxes, (std::vector<std::wstring>{L"No notification area: the window stays on the taskbar."}));
}

}  // namespace
}  // namespace qx::win32ui::test
