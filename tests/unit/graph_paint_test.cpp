// The history graph's point lists at sizes the scenarios don't cover.
#include <gtest/gtest.h>

#include <sstream>

#include "mainwindow/frm_main.h"
#include "platform/sim/sim_system.h"

namespace qx {
namespace {

class CountingCanvas final : public ui::Canvas {
public:
    int lines = 0;
    std::vector<int> polylineCounts;
    std::vector<ui::Point> firstPoints, lastPoints;
    void line(int, int, int, int, const ui::Pen&) override { ++lines; }
    void rect(int, int, int, int, const ui::Pen&) override {}
    void polyline(const ui::Point* p, int n, const ui::Pen&) override {
        polylineCounts.push_back(n);
        if (n > 0) {
            firstPoints.push_back(p[0]);
            lastPoints.push_back(p[n - 1]);
        }
    }
};

struct GraphFixture : ::testing::Test {
    std::ostringstream out;
    sim::SimSystem system{out, [] { return std::int64_t{0}; }};
    ModMemory memory{system};
    FrmMain form{system, memory};

    void fillRing(float free) {
        form.FreeHistory.fill(free);
        form.IdleHistory.fill(0.5f);
        form.HistoryIndex = 7;
    }
};

TEST_F(GraphFixture, AWidePlotShowsTheWholeRingAndNoMore) {
    fillRing(0.5f);
    form.picHist.setWidth((2100 + 4) * 15);  // a plot far wider than the ring
    CountingCanvas canvas;
    form.picHist_Paint(canvas);
    ASSERT_EQ(canvas.polylineCounts.size(), 2u);
    EXPECT_EQ(canvas.polylineCounts[0], 2001);
    EXPECT_EQ(canvas.polylineCounts[1], 2001);
    EXPECT_EQ(canvas.firstPoints[0].x, 2100 - 8);
    EXPECT_EQ(canvas.lastPoints[0].x, 2100 - 8 - 2000);
}

TEST_F(GraphFixture, SharesOutsideZeroToOneAreDrawnOutsideThePlot) {
    fillRing(0.5f);
    form.IdleHistory[7] = -0.25f;  // a busy share above 100 %
    form.FreeHistory[7] = 1.5f;
    form.picHist.setWidth(3615);
    form.picHist.setHeight(1575);
    CountingCanvas canvas;
    form.picHist_Paint(canvas);
    // y = margin + (bottom - margin) * share: 8 + 85 * 1.5 and 8 - 85 / 4
    EXPECT_EQ(canvas.firstPoints[0].y, 136);
    EXPECT_EQ(canvas.firstPoints[1].y, -13);
}

TEST_F(GraphFixture, ATinyDensityStillEndsTheGrid) {
    // A margin that rounds to 0 would make the grid's step 0: no grid then.
    form.setTwipsPerPixel(1000);
    CountingCanvas canvas;
    form.picHist_Paint(canvas);
    EXPECT_EQ(canvas.lines, 0);
}

}  // namespace
}  // namespace qx
