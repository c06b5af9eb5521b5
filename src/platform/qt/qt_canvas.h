// The drawing surface of a picture box on a QPainter: lines, rectangle
// outlines and polylines in the box's client pixels, with the model's pens.
#pragma once

#include <QPainter>
#include <QPalette>
#include <QPoint>
#include <vector>

#include "platform/ui/canvas.h"

namespace qx::qt {

class QtCanvas final : public ui::Canvas {
public:
    // `points` is scratch space for polylines, kept by the caller from one
    // paint to the next so a paint allocates nothing once it has grown.
    QtCanvas(QPainter& painter, const QPalette& palette, std::vector<QPoint>& points);

    void line(int x1, int y1, int x2, int y2, const ui::Pen& pen) override;
    void rect(int x1, int y1, int x2, int y2, const ui::Pen& pen) override;
    void polyline(const ui::Point* points, int count, const ui::Pen& pen) override;

    // The painter's pen for a model pen. A pen of odd width is drawn half a
    // pixel down and right, so at any device pixel ratio its line covers
    // whole pixels, exactly the pixel row or column it names at width 1.
    static QPen toQPen(const ui::Pen& pen, const QPalette& palette);
    static double alignmentOffset(int width);

    // Copies the points a polyline needs into `out`: a point in the middle of
    // a straight horizontal or vertical run adds nothing and is left out. A
    // flat stretch of a graph curve so costs the stroker one segment, not one
    // per pixel, and the pixels drawn are the same.
    static void keepCorners(const ui::Point* points, int count, std::vector<QPoint>& out);

    // The pixels a solid horizontal or vertical line covers: `width` pixels
    // across, centred as above, and from end to end plus the square caps.
    static QRect axisLineRect(int x1, int y1, int x2, int y2, int width);

private:
    void use(const ui::Pen& pen);
    void setOffset(double offset);

    QPainter& painter_;
    const QPalette& palette_;
    std::vector<QPoint>& points_;
    bool havePen_ = false;
    ui::Pen current_;
    double offset_ = 0;
};

}  // namespace qx::qt
