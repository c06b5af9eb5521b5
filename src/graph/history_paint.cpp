// The history graph: a grid, the memory-in-use curve (green) and the
// processor-load curve (olive) over the most recent ticks, newest at the
// right, one pixel per tick, and a frame around the plot.
#include "mainwindow/frm_main.h"
#include "platform/runtime/numbers.h"

namespace qx {

namespace {
constexpr std::uint32_t kMemoryCurve = 0x00C000;
constexpr std::uint32_t kProcessorCurve = 0x00C0C0;
constexpr std::uint32_t kPlotFrame = 0x007000;

std::int16_t ToPixels(float value) { return CInt(value); }
}  // namespace

void FrmMain::picHist_Paint(ui::Canvas& canvas) {
    const double tpp = twipsPerPixel();
    const std::int16_t margin = ToPixels(static_cast<float>(picHist.leftTwips() / tpp));
    const std::int16_t leftEdge = ToPixels(static_cast<float>(lbGrp100.width() + 3));
    const std::int16_t rightEdge = ToPixels(static_cast<float>(picHist.scaleWidth() - margin));
    const std::int16_t bottomEdge = ToPixels(static_cast<float>(picHist.scaleHeight() - margin));

    // Keep the "0%" label's lower side on the bottom edge of the plot.
    const float zeroTop = static_cast<float>(bottomEdge - lbGrp0.height());
    if (lbGrp0.top() != zeroTop) lbGrp0.setTop(zeroTop);

    // The grid takes the pen as the previous paint left it.
    picHist.setDrawWidth(1);
    const ui::Pen grid = picHist.pen();
    if (margin > 0) {  // a grid step of zero would never end
        const int step = 2 * margin;
        for (int x = rightEdge; x >= leftEdge; x -= step) canvas.line(x, margin, x, bottomEdge, grid);
        for (int y = bottomEdge - step; y >= margin; y -= step) canvas.line(leftEdge, y, rightEdge, y, grid);
    }

    // Walk back from the newest sample until an empty slot, at most the
    // plot's width or the whole ring.
    const float height = static_cast<float>(bottomEdge - margin);
    int cursor = HistoryIndex;
    int n = 0;
    while (n <= kHistorySlots - 1) {
        const float free = FreeHistory[cursor];
        if (free == 0) break;
        const int x = rightEdge - n;
        memoryPoints_[n] = {x, CLng(margin + height * free)};
        processorPoints_[n] = {x, CLng(margin + height * IdleHistory[cursor])};
        if (x <= leftEdge) break;
        cursor = cursor == 0 ? kHistorySlots - 1 : cursor - 1;
        ++n;
    }

    picHist.setDrawWidth(1);
    picHist.setDrawStyle(0);
    picHist.setForeColor(kMemoryCurve);
    canvas.polyline(memoryPoints_.data(), n, picHist.pen());
    picHist.setForeColor(kProcessorCurve);
    canvas.polyline(processorPoints_.data(), n, picHist.pen());

    picHist.setForeColor(kPlotFrame);
    picHist.setDrawWidth(2);
    picHist.setDrawStyle(0);
    canvas.rect(leftEdge, margin - 2, rightEdge, bottomEdge + 2, picHist.pen());
}

}  // namespace qx
