// The GDI canvas drawing into a memory DC, read back with GetPixel, and the
// arithmetic of twips and DPI it rests on.
#include "platform/win32/ui/gdi_canvas.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/ui/back_buffer.h"
#include "platform/win32/ui/win32_colors.h"
#include "platform/win32/ui/win32_dpi.h"

namespace qx::win32ui::test {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kRed = 0x000000FF;  // 0x00BBGGRR

class GdiCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen = GetDC(nullptr);
        ASSERT_TRUE(buffer.prepare(screen, 40, 40));
        dc = buffer.dc();
        GdiCanvas canvas(dc, scratch);
        canvas.fill(RECT{0, 0, 40, 40}, kWhite);
    }
    void TearDown() override { ReleaseDC(nullptr, screen); }

    bool red(int x, int y) const { return GetPixel(dc, x, y) == RGB(255, 0, 0); }

    HDC screen = nullptr;
    BackBuffer buffer;
    HDC dc = nullptr;
    std::vector<POINT> scratch;
};

TEST_F(GdiCanvasTest, APolylineDrawsItsSegmentsWithAOnePixelPen) {
    {
        GdiCanvas canvas(dc, scratch);
        const ui::Point points[] = {{2, 2}, {10, 2}, {10, 10}, {20, 20}};
        canvas.polyline(points, 4, ui::Pen{kRed, 1, 0});
    }
    EXPECT_TRUE(red(2, 2));
    EXPECT_TRUE(red(6, 2));
    EXPECT_TRUE(red(10, 6));
    EXPECT_TRUE(red(15, 15));
    EXPECT_FALSE(red(6, 3)) << "one pixel wide";
    EXPECT_FALSE(red(5, 5));
    EXPECT_FALSE(red(20, 20)) << "GDI leaves out the last point";
}

TEST_F(GdiCanvasTest, ATwoPixelPenCoversTwoRows) {
    {
        GdiCanvas canvas(dc, scratch);
        const ui::Point points[] = {{5, 20}, {30, 20}};
        canvas.polyline(points, 2, ui::Pen{kRed, 2, 0});
    }
    int rows = 0;
    for (int y = 17; y <= 23; ++y) rows += red(15, y) ? 1 : 0;
    EXPECT_EQ(rows, 2);
}

TEST_F(GdiCanvasTest, FewerThanTwoPointsDrawNothing) {
    {
        GdiCanvas canvas(dc, scratch);
        const ui::Point point{5, 5};
        canvas.polyline(&point, 1, ui::Pen{kRed, 1, 0});
    }
    EXPECT_FALSE(red(5, 5));
}

TEST_F(GdiCanvasTest, AxisLinesAndRectanglesCoverBothEnds) {
    {
        GdiCanvas canvas(dc, scratch);
        canvas.line(3, 30, 8, 30, ui::Pen{kRed, 1, 0});
        canvas.rect(20, 25, 30, 35, ui::Pen{kRed, 1, 0});
    }
    EXPECT_TRUE(red(3, 30));
    EXPECT_TRUE(red(8, 30));
    EXPECT_FALSE(red(9, 30));
    EXPECT_TRUE(red(20, 25));
    EXPECT_TRUE(red(30, 35));
    EXPECT_TRUE(red(25, 35));
    EXPECT_FALSE(red(25, 30)) << "an outline only";
}

TEST_F(GdiCanvasTest, ADiagonalLineGoesThroughGdi) {
    {
        GdiCanvas canvas(dc, scratch);
        canvas.line(0, 0, 10, 10, ui::Pen{kRed, 1, 0});
    }
    EXPECT_TRUE(red(5, 5));
    EXPECT_FALSE(red(5, 6));
}

TEST(TwipsTest, TwipsPerPixelFollowTheDpi) {
    EXPECT_EQ(twipsPerPixelForDpi(96), 15.0);
    EXPECT_EQ(twipsPerPixelForDpi(120), 12.0);
    EXPECT_EQ(twipsPerPixelForDpi(144), 10.0);
    EXPECT_EQ(twipsPerPixelForDpi(192), 7.5);
}

TEST(TwipsTest, RectanglesShareRoundedEdges) {
    EXPECT_EQ(twipsToPixels(150, 7.5), 20);
    // Boxes that share an edge in twips share it in pixels.
    const PixelSpan a = twipsSpanToPixels(0, 110, 15);
    const PixelSpan b = twipsSpanToPixels(110, 110, 15);
    EXPECT_EQ(a.start + a.length, b.start);
    EXPECT_EQ(twipsRectToPixels(150, 300, 3000, 1500, 15), (PixelRect{10, 20, 200, 100}));
}

TEST(TwipsTest, TheWindowDpiIsReadFromTheSystem) {
    EXPECT_EQ(windowDpi(nullptr), 96u) << "the test display runs at 96 dpi";
}

TEST(TwipsTest, TheProgramCanAskForPerMonitorDpi) {
    ASSERT_TRUE(becomeDpiAware());
    using GetContextFn = HANDLE(WINAPI*)();
    using AwarenessFn = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto getContext = reinterpret_cast<GetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    auto awareness = reinterpret_cast<AwarenessFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (!getContext || !awareness) GTEST_SKIP() << "this system can't report the awareness";
    EXPECT_EQ(awareness(getContext()), 2) << "DPI_AWARENESS_PER_MONITOR_AWARE";
}

TEST(ColorTest, ModelColoursBecomeColorRefs) {
    EXPECT_EQ(toColorRef(0x00123456), static_cast<COLORREF>(0x00123456));
    EXPECT_EQ(toColorRef(0x8000000F), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(toColorRef(0x80000005), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace qx::win32ui::test
