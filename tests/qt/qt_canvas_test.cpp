// The canvas draws exactly the pixels a picture box's paint names, at device
// pixel ratios 1 and 2, in the model's colours.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <vector>

#include "platform/qt/model_colors.h"
#include "platform/qt/qt_canvas.h"
#include "platform/ui/model.h"

namespace qx::qt {
namespace {

constexpr QRgb kBlack = 0xFF000000;

// A canvas over a 40 x 30 pixel image at the given device pixel ratio.
class Surface {
public:
    explicit Surface(int ratio) : image_(40 * ratio, 30 * ratio, QImage::Format_RGB32), ratio_(ratio) {
        image_.fill(kBlack);
        image_.setDevicePixelRatio(ratio);
    }
    template <typename Draw>
    void draw(Draw&& draw) {
        QPainter painter(&image_);
        std::vector<QPoint> points;
        QtCanvas canvas(painter, palette_, points);
        draw(canvas);
    }
    // The colour of the device pixel (x, y).
    QRgb at(int x, int y) const { return image_.pixel(x, y) | 0xFF000000; }
    int ratio() const { return ratio_; }
    // Device pixels that are not black, as (x, y) pairs.
    std::vector<QPoint> lit() const {
        std::vector<QPoint> out;
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                if (at(x, y) != kBlack) out.emplace_back(x, y);
            }
        }
        return out;
    }

private:
    QImage image_;
    int ratio_;
    QPalette palette_;
};

const ui::Pen kGreenPen{0x00C000, 1, 0};

TEST(QtCanvas, ModelColoursAreBlueGreenRed) {
    const QPalette palette;
    EXPECT_EQ(toQColor(0x0000FF, palette), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0x00C0C0, palette), QColor(0xC0, 0xC0, 0));
    EXPECT_EQ(toQColor(0x004000, palette), QColor(0, 0x40, 0));
    EXPECT_EQ(toQColor(ui::kSysWindowBackground, palette), palette.color(QPalette::Base));
    EXPECT_EQ(toQColor(ui::kSysWindowText, palette), palette.color(QPalette::Text));
    EXPECT_EQ(toQColor(ui::kSysButtonFace, palette), palette.color(QPalette::Button));
    EXPECT_EQ(toQColor(ui::kSysButtonText, palette), palette.color(QPalette::ButtonText));
}

class QtCanvasAtRatio : public ::testing::TestWithParam<int> {};

TEST_P(QtCanvasAtRatio, VerticalLineFillsExactlyItsPixelColumn) {
    Surface s(GetParam());
    s.draw([](QtCanvas& c) { c.line(5, 2, 5, 9, kGreenPen); });
    const int r = s.ratio();
    const auto lit = s.lit();
    ASSERT_FALSE(lit.empty());
    for (const QPoint& p : lit) {
        EXPECT_EQ(p.x() / r, 5) << "device pixel " << p.x() << "," << p.y();
        EXPECT_GE(p.y() / r, 2);
        EXPECT_LE(p.y() / r, 9);
        EXPECT_EQ(s.at(p.x(), p.y()), qRgb(0, 0xC0, 0));
    }
    // The whole column is covered, every device pixel of it.
    for (int y = 3 * r; y < 9 * r; ++y) {
        for (int dx = 0; dx < r; ++dx) EXPECT_EQ(s.at(5 * r + dx, y), qRgb(0, 0xC0, 0)) << y;
    }
}

TEST_P(QtCanvasAtRatio, HorizontalLineFillsExactlyItsPixelRow) {
    Surface s(GetParam());
    s.draw([](QtCanvas& c) { c.line(3, 7, 20, 7, kGreenPen); });
    const int r = s.ratio();
    for (const QPoint& p : s.lit()) EXPECT_EQ(p.y() / r, 7) << p.x() << "," << p.y();
    for (int x = 4 * r; x < 20 * r; ++x) {
        for (int dy = 0; dy < r; ++dy) EXPECT_EQ(s.at(x, 7 * r + dy), qRgb(0, 0xC0, 0)) << x;
    }
}

TEST_P(QtCanvasAtRatio, TwoPixelRectangleIsCrispAndCentredOnItsCorners) {
    Surface s(GetParam());
    s.draw([](QtCanvas& c) { c.rect(10, 6, 30, 20, ui::Pen{0x007000, 2, 0}); });
    const int r = s.ratio();
    const QRgb frame = qRgb(0, 0x70, 0);
    // A 2-pixel line on x = 10 covers the pixel columns 9 and 10, fully.
    for (int y = 8 * r; y < 18 * r; ++y) {
        for (int x = 9 * r; x < 11 * r; ++x) EXPECT_EQ(s.at(x, y), frame) << x << "," << y;
        EXPECT_EQ(s.at(8 * r + r - 1, y), kBlack);
        EXPECT_EQ(s.at(11 * r, y), kBlack);
    }
    // Nothing but the frame colour: no blended edge pixels.
    for (const QPoint& p : s.lit()) EXPECT_EQ(s.at(p.x(), p.y()), frame);
    // The inside stays clear.
    EXPECT_EQ(s.at(20 * r, 13 * r), kBlack);
}

TEST_P(QtCanvasAtRatio, PolylineJoinsItsPointsAndNeedsTwo) {
    Surface s(GetParam());
    const ui::Point one[] = {{4, 4}};
    s.draw([&](QtCanvas& c) { c.polyline(one, 1, kGreenPen); });
    EXPECT_TRUE(s.lit().empty());

    const ui::Point points[] = {{2, 2}, {12, 2}, {12, 12}};
    s.draw([&](QtCanvas& c) { c.polyline(points, 3, ui::Pen{0x00C0C0, 1, 0}); });
    const int r = s.ratio();
    const QRgb olive = qRgb(0xC0, 0xC0, 0);
    EXPECT_EQ(s.at(7 * r, 2 * r), olive);    // on the first segment
    EXPECT_EQ(s.at(12 * r, 7 * r), olive);   // on the second
    EXPECT_EQ(s.at(7 * r, 7 * r), kBlack);   // not across the corner
    for (const QPoint& p : s.lit()) EXPECT_EQ(s.at(p.x(), p.y()), olive);
}

TEST_P(QtCanvasAtRatio, PolylineAfterAFilledLineWithTheSamePenKeepsItsAlignment) {
    Surface s(GetParam());
    const ui::Point points[] = {{2, 20}, {6, 20}, {6, 25}};
    s.draw([&](QtCanvas& c) {
        c.line(30, 2, 30, 8, kGreenPen);   // filled as a rectangle
        c.polyline(points, 3, kGreenPen);  // stroked, with the same pen
    });
    const int r = s.ratio();
    const QRgb green = qRgb(0, 0xC0, 0);
    // The stroked corner covers exactly the pixel cells it names, whole.
    for (const QPoint& p : s.lit()) {
        const QPoint cell(p.x() / r, p.y() / r);
        if (cell.x() == 30) continue;
        const bool onRow = cell.y() == 20 && cell.x() >= 2 && cell.x() <= 6;
        const bool onColumn = cell.x() == 6 && cell.y() >= 20 && cell.y() <= 25;
        EXPECT_TRUE(onRow || onColumn) << "device pixel " << p.x() << "," << p.y();
    }
    for (int x = 2; x <= 6; ++x) {
        for (int d = 0; d < r * r; ++d) EXPECT_EQ(s.at(x * r + d % r, 20 * r + d / r), green) << x;
    }
    for (int y = 20; y <= 25; ++y) {
        for (int d = 0; d < r * r; ++d) EXPECT_EQ(s.at(6 * r + d % r, y * r + d / r), green) << y;
    }
}

TEST(QtCanvas, StraightLinesCoverWholePixelsAcrossAndTheirCaps) {
    EXPECT_EQ(QtCanvas::axisLineRect(5, 2, 5, 9, 1), QRect(QPoint(5, 2), QPoint(5, 9)));
    EXPECT_EQ(QtCanvas::axisLineRect(5, 9, 5, 2, 1), QRect(QPoint(5, 2), QPoint(5, 9)));
    EXPECT_EQ(QtCanvas::axisLineRect(10, 6, 30, 6, 2), QRect(QPoint(9, 5), QPoint(30, 6)));
    EXPECT_EQ(QtCanvas::axisLineRect(10, 6, 10, 20, 3), QRect(QPoint(9, 5), QPoint(11, 21)));
}

// A graph-like curve: one point per pixel leftwards, flat stretches, steps
// of one and several pixels, a vertical drop and a reversal.
std::vector<ui::Point> CurvePoints() {
    std::vector<ui::Point> points;
    int y = 15;
    const int steps[] = {0, 0, 0, 1, 0, 0, -1, -1, 0, 3, 0, 0, 0, -4, 0, 2, 0, 0, 0, 0, 1, -1, 0, 0, 5, 0};
    int x = 36;
    for (int step : steps) {
        y += step;
        points.push_back({x--, y});
    }
    points.push_back({x + 1, y + 6});  // straight down from the last point
    points.push_back({x + 1, y + 2});  // and back up part of the way
    points.push_back({x + 4, y + 2});  // then right again
    return points;
}

TEST_P(QtCanvasAtRatio, PolylineLightsTheSamePixelsAsEveryPointWouldGiveTheToolkit) {
    const std::vector<ui::Point> points = CurvePoints();
    const ui::Pen pen{0x00C000, 1, 0};
    Surface ours(GetParam());
    ours.draw([&](QtCanvas& c) { c.polyline(points.data(), static_cast<int>(points.size()), pen); });

    QImage reference(40 * GetParam(), 30 * GetParam(), QImage::Format_RGB32);
    reference.fill(kBlack);
    reference.setDevicePixelRatio(GetParam());
    {
        QPainter painter(&reference);
        painter.setPen(QtCanvas::toQPen(pen, QPalette()));
        painter.translate(QtCanvas::alignmentOffset(pen.width), QtCanvas::alignmentOffset(pen.width));
        std::vector<QPoint> all;
        for (const ui::Point& p : points) all.emplace_back(p.x, p.y);
        painter.drawPolyline(all.data(), static_cast<int>(all.size()));
    }
    int lit = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            ASSERT_EQ(ours.at(x, y), reference.pixel(x, y) | 0xFF000000) << x << "," << y;
            lit += ours.at(x, y) != kBlack;
        }
    }
    EXPECT_GT(lit, 30 * GetParam());
}

TEST(QtCanvas, PolylineKeepsOnlyTheCornersOfStraightRuns) {
    const ui::Point flat[] = {{10, 5}, {9, 5}, {8, 5}, {7, 5}, {6, 6}, {5, 6}, {4, 6}};
    std::vector<QPoint> kept;
    QtCanvas::keepCorners(flat, 7, kept);
    EXPECT_EQ(kept, (std::vector<QPoint>{{10, 5}, {7, 5}, {6, 6}, {4, 6}}));
    // A run that turns back on itself keeps its turning point.
    const ui::Point back[] = {{3, 1}, {3, 4}, {3, 2}};
    QtCanvas::keepCorners(back, 3, kept);
    EXPECT_EQ(kept.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(DevicePixelRatios, QtCanvasAtRatio, ::testing::Values(1, 2));

TEST(QtCanvas, OddWidthsAreShiftedHalfAPixelEvenOnesAreNot) {
    EXPECT_EQ(QtCanvas::alignmentOffset(1), 0.5);
    EXPECT_EQ(QtCanvas::alignmentOffset(3), 0.5);
    EXPECT_EQ(QtCanvas::alignmentOffset(2), 0.0);
    EXPECT_EQ(QtCanvas::alignmentOffset(0), 0.5);  // drawn as width 1
}

}  // namespace
}  // namespace qx::qt
