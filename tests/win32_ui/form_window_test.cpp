// The form window against a real window system (Wine under Xvfb in CI):
// child positions from twips, captions, events out through the callbacks,
// exceptions stopped at the window procedure, the re-layout at a new DPI,
// and the graph drawn through the picture box's back buffer.
#include "platform/win32/ui/form_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/ui/child_messages.h"
#include "platform/win32/ui/label_window.h"
#include "platform/win32/ui/message_loop.h"
#include "test_form.h"

namespace qx::win32ui::test {
namespace {

// The rectangle of a child window in its parent's client pixels.
PixelRect rectInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The font a window was given.
LOGFONTW fontOf(HWND window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    LOGFONTW face{};
    if (font) GetObjectW(font, sizeof face, &face);
    return face;
}
// The character height of a window's font (negative: in pixels, as made).
LONG fontHeight(HWND window) { return fontOf(window).lfHeight; }

std::wstring windowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

class FormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        events.menuChosen = [this](ui::MenuItem& item) {
            chosen.push_back(item.name());
            if (item.name() == "mnuTop") throw std::runtime_error("handler failed");
        };
        events.buttonClicked = [this](ui::Control& c) { clicked.push_back(c.name()); };
        events.doubleClicked = [this](ui::Control* c) { doubleClicked.push_back(c ? c->name() : "form"); };
        events.paintBox = [this](ui::Control& box, ui::Canvas& canvas) {
            ++paints;
            const ui::Point points[] = {{0, 5}, {20, 5}, {20, 30}};
            canvas.polyline(points, 3, ui::Pen{0x0000FF00, 1, 0});
            if (box.name() != "picGraph") throw std::logic_error("wrong box");
        };
        events.closeBox = [this] { ++closeBoxes; };
        events.stateChanged = [this](int state) { states.push_back(state); };
        events.clientResized = [this](int width, int height) {
            sizes.push_back({width, height});
            if (layOut) layOut(width);
        };
        events.dpiChanged = [this](double twips) { dpiTwips.push_back(twips); };
        events.key = [this](std::string_view key) {
            keys.emplace_back(key);
            return true;
        };
        events.failed = [this](std::exception_ptr) { ++failures; };
        FormWindowOptions options;
        options.instance = GetModuleHandleW(nullptr);
        options.icon = [this](std::string_view name, int size) -> HICON {
            iconsAsked.push_back({std::string(name), size});
            return name == "app" ? LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)) : nullptr;
        };
        window = std::make_unique<FormWindow>(form, options, events);
        ASSERT_NE(window->handle(), nullptr);
    }

    TestForm form;
    FormWindowEvents events;
    std::unique_ptr<FormWindow> window;
    std::vector<std::string> chosen, clicked, doubleClicked, keys;
    std::vector<double> dpiTwips;
    std::vector<int> states;
    std::vector<std::pair<std::string, int>> iconsAsked;
    std::vector<SIZE> sizes;
    std::function<void(int clientWidth)> layOut;  // what the program does on the user's resize
    int paints = 0, closeBoxes = 0, failures = 0;
};

TEST_F(FormWindowTest, ChildWindowsSitWhereTheTwipsSayAtFifteenTwipsPerPixel) {
    ASSERT_EQ(window->dpi(), 96u) << "the test display runs at 96 dpi";
    EXPECT_EQ(rectInParent(window->controlHandle(form.frame)), (PixelRect{10, 20, 200, 100}));
    // A frame's controls are its siblings, placed from the frame's corner.
    HWND label = window->controlHandle(form.lblInFrame);
    EXPECT_EQ(GetParent(label), window->handle());
    EXPECT_EQ(rectInParent(label), (PixelRect{20, 40, 100, 20}));
    EXPECT_EQ(rectInParent(window->controlHandle(form.picGraph)), (PixelRect{220, 20, 70, 70}));
    // A picture box holds its own controls, in its client pixels.
    HWND inBox = window->controlHandle(form.lblInBox);
    EXPECT_EQ(GetParent(inBox), window->controlHandle(form.picGraph));
    EXPECT_EQ(rectInParent(inBox), (PixelRect{30, 50, 20, 10}));
    EXPECT_EQ(rectInParent(window->controlHandle(form.cmdOK)), (PixelRect{220, 150, 70, 30}));
    EXPECT_EQ(window->clientSize().cx, 300);
    EXPECT_EQ(window->clientSize().cy, 200);
}

TEST_F(FormWindowTest, CaptionsAreWindowTextsAndFollowTheModel) {
    EXPECT_EQ(windowText(window->handle()), L"Quendax test");
    EXPECT_EQ(windowText(window->controlHandle(form.lblInFrame)), L"Gr\u00F6\u00DFe 1,234 MB");
    EXPECT_EQ(windowText(window->controlHandle(form.frame)), L"Physical memory");
    EXPECT_EQ(windowText(window->controlHandle(form.cmdOK)), L"OK");
    form.lblInFrame.setCaption("Ready");
    form.setCaption("Renamed");
    window->syncFromModel();
    EXPECT_EQ(windowText(window->controlHandle(form.lblInFrame)), L"Ready");
    EXPECT_EQ(windowText(window->handle()), L"Renamed");
}

TEST_F(FormWindowTest, VisibilityEnablingAndGeometryFollowTheModel) {
    HWND frame = window->controlHandle(form.frame);
    HWND label = window->controlHandle(form.lblInFrame);
    EXPECT_TRUE(GetWindowLongPtrW(frame, GWL_STYLE) & WS_VISIBLE);
    form.frame.setVisible(false);
    form.cmdOK.setEnabled(false);
    form.frame.setLeft(300);  // the label in it moves along
    window->syncFromModel();
    EXPECT_FALSE(GetWindowLongPtrW(frame, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(window->controlHandle(form.cmdOK)));
    EXPECT_EQ(rectInParent(label), (PixelRect{30, 40, 100, 20}));
}

TEST_F(FormWindowTest, EventsLeaveThroughTheCallbacks) {
    const UINT free = window->menus()->commandOf(form.mnuFree);
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(free, 0), 0);
    SendMessageW(window->controlHandle(form.cmdOK), BM_CLICK, 0, 0);
    SendMessageW(window->controlHandle(form.lblInFrame), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(window->controlHandle(form.picGraph), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    // Inside the frame's rectangle on the form itself: the frame's double-click.
    SendMessageW(window->handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(150, 100));
    SendMessageW(window->handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(150, 180));
    SendMessageW(window->handle(), WM_CLOSE, 0, 0);
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_EQ(chosen, (std::vector<std::string>{"mnuFree"}));
    EXPECT_EQ(clicked, (std::vector<std::string>{"cmdOK"}));
    EXPECT_EQ(doubleClicked, (std::vector<std::string>{"lblInFrame", "picGraph", "Frame1", "form"}));
    EXPECT_EQ(closeBoxes, 1);
    EXPECT_EQ(keys, (std::vector<std::string>{"Esc"}));
    EXPECT_TRUE(IsWindow(window->handle())) << "the close box leaves the window to the form";
}

TEST_F(FormWindowTest, ADetachedWindowHidesAndSendsNoMoreEvents) {
    form.show();
    window->syncFromModel();
    window->detach();
    EXPECT_FALSE(IsWindowVisible(window->handle()));
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(window->menus()->commandOf(form.mnuFree), 0), 0);
    SendMessageW(window->handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(closeBoxes, 0);
}

TEST_F(FormWindowTest, AnExceptionStopsAtTheWindowProcedure) {
    const UINT top = window->menus()->commandOf(form.mnuTop);
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(top, 0), 0);
    EXPECT_EQ(chosen, (std::vector<std::string>{"mnuTop"}));
    EXPECT_EQ(failures, 1);
}

TEST_F(FormWindowTest, TheFirstButtonTakesTheKeyboardWhenTheWindowOpens) {
    form.show();
    window->syncFromModel();
    EXPECT_EQ(GetFocus(), window->controlHandle(form.cmdOK));
}

TEST_F(FormWindowTest, ShortcutsArriveThroughTheAcceleratorTable) {
    form.show();
    window->syncFromModel();
    MessageLoop loop;
    loop.setAccelerators(window->handle(), window->accelerators());
    PostMessageW(window->handle(), WM_KEYDOWN, VK_F1, 1);
    EXPECT_TRUE(loop.runPending());
    EXPECT_EQ(chosen, (std::vector<std::string>{"mnuAbout"}));
}

TEST_F(FormWindowTest, ANewDpiLaysTheControlsOutAgain) {
    RECT suggested = window->outerRect();
    suggested.right = suggested.left + 500;
    suggested.bottom = suggested.top + 400;
    SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window->dpi(), 144u);
    EXPECT_EQ(dpiTwips, (std::vector<double>{10.0}));
    EXPECT_EQ(rectInParent(window->controlHandle(form.frame)), (PixelRect{15, 30, 300, 150}));
    EXPECT_EQ(rectInParent(window->controlHandle(form.lblInFrame)), (PixelRect{30, 60, 150, 30}));
    EXPECT_EQ(rectInParent(window->controlHandle(form.cmdOK)), (PixelRect{330, 225, 105, 45}));
    // The fonts are made anew: 8 points are 16 pixels at 144 dpi.
    EXPECT_EQ(fontHeight(window->controlHandle(form.lblInFrame)), -16);
}

TEST_F(FormWindowTest, FontSizesAreInPointsAtTheWindowsDpi) {
    EXPECT_EQ(fontHeight(window->controlHandle(form.lblInFrame)), -11);  // 8 points at 96 dpi
    window->setControlFontSize(form.lblInFrame, 12);
    EXPECT_EQ(fontHeight(window->controlHandle(form.lblInFrame)), -16);
    EXPECT_EQ(fontHeight(window->controlHandle(form.cmdOK)), -11);
    EXPECT_EQ(fontOf(window->controlHandle(form.cmdOK)).lfWeight, FW_NORMAL);
    // A label defined in 9.75-point bold.
    EXPECT_EQ(fontHeight(window->controlHandle(form.lblOverBox)), -13);
    EXPECT_EQ(fontOf(window->controlHandle(form.lblOverBox)).lfWeight, FW_BOLD);
}

TEST_F(FormWindowTest, APictureFillsItsBox) {
    form.show();
    window->syncFromModel();
    form.picGraph.setPicture("app");
    window->syncFromModel();
    ASSERT_FALSE(iconsAsked.empty());
    // 1050 twips are 70 pixels, 66 inside the sunken border.
    EXPECT_EQ(iconsAsked.back(), (std::pair<std::string, int>{"app", 66}));
    HWND box = window->controlHandle(form.picGraph);
    window->repaintControl(form.picGraph);
    HDC dc = GetDC(box);
    int topLeft = 0, bottomRight = 0;
    for (int y = 0; y < 33; ++y) {
        for (int x = 0; x < 33; ++x) {
            topLeft += GetPixel(dc, x, y) != RGB(0, 0, 0) ? 1 : 0;
            bottomRight += GetPixel(dc, x + 33, y + 33) != RGB(0, 0, 0) ? 1 : 0;
        }
    }
    ReleaseDC(box, dc);
    EXPECT_GT(topLeft, 100);
    EXPECT_GT(bottomRight, 100);
}

TEST_F(FormWindowTest, ThePictureBoxPaintsItsBackgroundAndTheGraph) {
    form.show();
    window->syncFromModel();
    HWND box = window->controlHandle(form.picGraph);
    window->repaintControl(form.picGraph);
    EXPECT_GE(paints, 1);
    EXPECT_EQ(failures, 0);
    HDC dc = GetDC(box);
    // Background black, the green polyline along row 5 and down column 20.
    EXPECT_EQ(GetPixel(dc, 40, 40), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 10, 5), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 20, 20), RGB(0, 255, 0));
    ReleaseDC(box, dc);
}

TEST_F(FormWindowTest, APictureBoxIsDrawnAtOnceOnlyWhileItCanBeSeen) {
    HWND box = window->controlHandle(form.picGraph);
    window->repaintControl(form.picGraph);
    EXPECT_EQ(paints, 0) << "the window has not been shown yet";
    form.show();
    window->syncFromModel();
    UpdateWindow(box);  // showing it brings its WM_PAINT
    ASSERT_GE(paints, 1);
    int before = paints;
    window->repaintControl(form.picGraph);
    EXPECT_EQ(paints, before + 1) << "drawn at once, without waiting for a WM_PAINT";
    ShowWindow(window->handle(), SW_MINIMIZE);
    before = paints;
    window->repaintControl(form.picGraph);
    EXPECT_EQ(paints, before) << "nothing is drawn into a minimized window";
    ShowWindow(window->handle(), SW_RESTORE);
    UpdateWindow(box);
    EXPECT_GT(paints, before) << "restoring the window draws the box again";
    EXPECT_EQ(failures, 0);
}

// Windows' stacking order of a window's children, top first.
std::vector<HWND> childrenTopFirst(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

TEST_F(FormWindowTest, ALabelLiesBelowPictureBoxesAndButtonsButAboveItsFrame) {
    const std::vector<HWND> order = childrenTopFirst(window->handle());
    const auto place = [&](const ui::Control& c) {
        return std::find(order.begin(), order.end(), window->controlHandle(c)) - order.begin();
    };
    EXPECT_LT(place(form.picGraph), place(form.lblOverBox)) << "defined later, but a label all the same";
    EXPECT_LT(place(form.cmdOK), place(form.lblOverBox));
    EXPECT_LT(place(form.picGraph), place(form.lblInFrame));
    EXPECT_LT(place(form.lblInFrame), place(form.frame));
    EXPECT_LT(place(form.lblOverBox), place(form.frame));

    // Where the red label reaches over the black box, the box shows.
    form.show();
    window->syncFromModel();
    RedrawWindow(window->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(window->handle());
    EXPECT_EQ(GetPixel(dc, 225, 85), RGB(0, 0, 0)) << "inside the box";
    EXPECT_EQ(GetPixel(dc, 205, 95), RGB(255, 0, 0)) << "the label beside the box";
    ReleaseDC(window->handle(), dc);
}

TEST_F(FormWindowTest, LabelsPaintTheirColoursOrWhatTheyLieOn) {
    form.lblInFrame.setBackColor(0x000000FF);  // red
    form.lblInBox.setBackColor(0x0000FFFF);    // yellow, but transparent
    form.show();
    window->syncFromModel();
    UpdateWindow(window->handle());
    RedrawWindow(window->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND own = window->controlHandle(form.lblInFrame);
    HWND onBox = window->controlHandle(form.lblInBox);
    HDC dc = GetDC(own);
    EXPECT_EQ(GetPixel(dc, 99, 19), RGB(255, 0, 0));
    ReleaseDC(own, dc);
    dc = GetDC(onBox);
    EXPECT_EQ(GetPixel(dc, 19, 9), RGB(0, 0, 0)) << "the picture box's black";
    ReleaseDC(onBox, dc);
}

TEST_F(FormWindowTest, ANewCaptionIsOnScreenAtOnceWithNoPaintLeftWaiting) {
    form.lblInFrame.setCaption("");
    form.show();
    window->syncFromModel();
    HWND label = window->controlHandle(form.lblInFrame);
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Pixels unlike the lower right corner, which the short text never reaches.
    auto inked = [label] {
        HDC dc = GetDC(label);
        int count = 0;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 100; ++x) count += GetPixel(dc, x, y) != GetPixel(dc, 99, 19);
        }
        ReleaseDC(label, dc);
        return count;
    };
    ASSERT_EQ(inked(), 0);
    form.lblInFrame.setCaption("8,888 MB");
    window->syncFromModel();
    EXPECT_FALSE(GetUpdateRect(label, nullptr, FALSE));
    EXPECT_GT(inked(), 20);
}

TEST_F(FormWindowTest, ALabelsTextLiesLeftRightOrCentredAsItIsAligned) {
    form.lblInFrame.setCaption("88");
    form.show();
    window->syncFromModel();
    HWND label = window->controlHandle(form.lblInFrame);
    // Where the first, the last or the middle inked column may lie in the 100 pixels.
    const std::tuple<ui::Alignment, int, int> cases[] = {
        {ui::Alignment::Left, 0, 3}, {ui::Alignment::Right, 96, 99}, {ui::Alignment::Center, 48, 51}};
    for (const auto& [alignment, from, to] : cases) {
        LabelLook look = labelStateOf(label)->look;
        look.alignment = alignment;
        setLabelLook(label, look);
        RedrawWindow(label, nullptr, nullptr, RDW_UPDATENOW);
        HDC dc = GetDC(label);
        int first = -1, last = -1;
        for (int x = 0; x < 100; ++x) {
            for (int y = 0; y < 20; ++y) {
                if (GetPixel(dc, x, y) != GetPixel(dc, 0, 19)) first = first < 0 ? x : first, last = x;
            }
        }
        ReleaseDC(label, dc);
        const int at = alignment == ui::Alignment::Left ? first : alignment == ui::Alignment::Right ? last : (first + last) / 2;
        EXPECT_TRUE(first >= 0 && at >= from && at <= to) << static_cast<int>(alignment) << ": " << first << ".." << last;
    }
}

TEST_F(FormWindowTest, ALongTextIsDrawnInASmallerFontDownToThreeQuarters) {
    form.show();
    window->syncFromModel();
    HWND label = window->controlHandle(form.lblInFrame);
    LabelState* state = labelStateOf(label);
    ASSERT_NE(state, nullptr);
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(state->shrunkLast) << "the caption fits";

    // A little too wide for the label's 100 pixels in the normal font.
    const std::wstring wide = L"Free: 1,234,567 MB";
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    ASSERT_GT(extent.cx, 100);
    ASSERT_LT(extent.cx, 130);
    form.lblInFrame.setCaption("Free: 1,234,567 MB");
    window->syncFromModel();
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const LONG normal = fontHeight(label);
    EXPECT_TRUE(state->shrunkLast);
    EXPECT_GT(state->shrunkHeight, normal) << "a smaller (less negative) height";
    EXPECT_LE(state->shrunkHeight, std::lround(normal * 0.75)) << "no smaller than three quarters";

    form.lblInFrame.setCaption("A very long caption that no font of three quarters could fit");
    window->syncFromModel();
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(state->shrunkLast);
    EXPECT_EQ(state->shrunkHeight, std::lround(normal * 0.75));
}

TEST_F(FormWindowTest, LabelsOfOneSizeGroupShrinkTogether) {
    form.lblInFrame.fontGroup = form.lblOverBox.fontGroup = 1;
    form.lblOverBox.setCaption("A");  // fits in its own font
    form.lblInFrame.setCaption("A very long caption that no font of three quarters could fit");
    form.show();
    window->syncFromModel();
    HWND small = window->controlHandle(form.lblOverBox);
    RedrawWindow(small, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(labelStateOf(small)->shrunkLast);
    EXPECT_EQ(labelStateOf(small)->shrunkHeight, std::lround(fontHeight(small) * 0.75));
}

TEST_F(FormWindowTest, TheUsersResizeAndMinimizeAreReportedButTheModelsOwnAreNot) {
    form.show();
    window->syncFromModel();
    form.setClientSize(4800, 3000);  // the model's own change
    window->syncFromModel();
    EXPECT_EQ(window->clientSize().cx, 320);
    EXPECT_TRUE(sizes.empty());
    const RECT outer = window->outerRect();
    SetWindowPos(window->handle(), nullptr, 0, 0, outer.right - outer.left + 30, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].cx, 350);
    EXPECT_EQ(sizes[0].cy, 200);
    ShowWindow(window->handle(), SW_MINIMIZE);
    ShowWindow(window->handle(), SW_RESTORE);
    EXPECT_EQ(states, (std::vector<int>{ui::kMinimized, ui::kNormal}));
    form.setWindowState(ui::kMinimized);
    window->syncFromModel();
    EXPECT_TRUE(IsIconic(window->handle()));
    EXPECT_EQ(states.size(), 2u) << "the model's own change is not reported back";
}

TEST_F(FormWindowTest, AWindowHiddenWhileMinimizedComesBackAtNormalSize) {
    form.show();
    window->syncFromModel();
    ShowWindow(window->handle(), SW_MINIMIZE);  // the user minimizes; the program hides it
    window->setVisible(false);
    window->setWindowState(ui::kNormal);  // then shows it again, at normal size
    window->setVisible(true);
    EXPECT_TRUE(IsWindowVisible(window->handle()));
    EXPECT_FALSE(IsIconic(window->handle()));
}

TEST_F(FormWindowTest, AfterTheUsersResizeNothingOfTheOldLayoutStaysOnScreen) {
    form.show();
    window->syncFromModel();
    layOut = [this](int clientWidth) {
        form.frame.setWidth(clientWidth * 15 - 1500);  // the frame follows the window's width
        window->syncFromModel();
    };
    for (const int dx : {-60, 60}) {  // the frame's right edge drawn at x = 150, then at 210
        const RECT outer = window->outerRect();
        SetWindowPos(window->handle(), nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        MSG message;
        for (int i = 0; i < 20; ++i, Sleep(10)) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
    }
    HDC dc = GetDC(window->handle());
    int stale = 0;
    for (int x = 146; x < 154; ++x) stale += GetPixel(dc, x, 80) != GetSysColor(COLOR_BTNFACE) ? 1 : 0;
    EXPECT_NE(GetPixel(dc, 208, 80), GetSysColor(COLOR_BTNFACE)) << "the frame's new edge is drawn";
    ReleaseDC(window->handle(), dc);
    EXPECT_EQ(stale, 0) << "the frame's old edge is still on screen";
}

}  // namespace
}  // namespace qx::win32ui::test
