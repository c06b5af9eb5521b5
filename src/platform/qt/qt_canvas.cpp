#include "platform/qt/qt_canvas.h"

#include <algorithm>

#include "platform/qt/model_colors.h"

namespace qx::qt {

namespace {

Qt::PenStyle penStyle(int style) {
    switch (style) {
        case 1: return Qt::DashLine;
        case 2: return Qt::DotLine;
        case 3: return Qt::DashDotLine;
        case 4: return Qt::DashDotDotLine;
        case 5: return Qt::NoPen;
        default: return Qt::SolidLine;  // 0 solid, 6 inside solid
    }
}

bool isSolid(const ui::Pen& pen) { return penStyle(pen.style) == Qt::SolidLine; }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const QPalette& palette, std::vector<QPoint>& points)
    : painter_(painter), palette_(palette), points_(points) {}

QPen QtCanvas::toQPen(const ui::Pen& pen, const QPalette& palette) {
    QPen qpen(toQColor(pen.color, palette), std::max(1, pen.width), penStyle(pen.style));
    qpen.setCapStyle(Qt::SquareCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    return qpen;
}

double QtCanvas::alignmentOffset(int width) { return std::max(1, width) % 2 == 1 ? 0.5 : 0.0; }

void QtCanvas::use(const ui::Pen& pen) {
    if (!havePen_ || pen.color != current_.color || pen.width != current_.width || pen.style != current_.style) {
        havePen_ = true;
        current_ = pen;
        painter_.setPen(toQPen(pen, palette_));
    }
    setOffset(alignmentOffset(pen.width));  // a fill in between may have reset it
}

void QtCanvas::setOffset(double offset) {
    if (offset == offset_) return;
    offset_ = offset;
    painter_.setTransform(QTransform::fromTranslate(offset, offset));
}

QRect QtCanvas::axisLineRect(int x1, int y1, int x2, int y2, int width) {
    const ui::PixelBox box = ui::AxisLineBox(x1, y1, x2, y2, width);
    return {QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1)};
}

void QtCanvas::line(int x1, int y1, int x2, int y2, const ui::Pen& pen) {
    if ((x1 == x2 || y1 == y2) && isSolid(pen)) {
        // Whole pixels: a fill, far cheaper than the toolkit's line stroker.
        // It lands on the same pixels whatever the current offset, so the
        // painter's transform is left alone.
        const QRectF pixels = QRectF(axisLineRect(x1, y1, x2, y2, pen.width)).translated(-offset_, -offset_);
        painter_.fillRect(pixels, toQColor(pen.color, palette_));
        return;
    }
    use(pen);
    painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::rect(int x1, int y1, int x2, int y2, const ui::Pen& pen) {
    if (isSolid(pen)) {
        ui::OutlineAsSides(*this, x1, y1, x2, y2, pen);
        return;
    }
    use(pen);
    painter_.setBrush(Qt::NoBrush);
    const int left = std::min(x1, x2);
    const int top = std::min(y1, y2);
    painter_.drawRect(QRectF(left, top, std::max(x1, x2) - left, std::max(y1, y2) - top));
}

namespace {

// Whether `b` lies on the straight horizontal or vertical run from `a` to `c`.
bool insideRun(const ui::Point& a, const ui::Point& b, const ui::Point& c) {
    const auto between = [](std::int32_t p, std::int32_t q, std::int32_t r) {
        return (p < q && q < r) || (p > q && q > r);
    };
    if (a.y == b.y && b.y == c.y) return between(a.x, b.x, c.x);
    if (a.x == b.x && b.x == c.x) return between(a.y, b.y, c.y);
    return false;
}

}  // namespace

void QtCanvas::keepCorners(const ui::Point* points, int count, std::vector<QPoint>& out) {
    out.clear();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i + 1 < count && insideRun(points[i - 1], points[i], points[i + 1])) continue;
        out.emplace_back(points[i].x, points[i].y);
    }
}

void QtCanvas::polyline(const ui::Point* points, int count, const ui::Pen& pen) {
    if (count < 2) return;
    use(pen);
    keepCorners(points, count, points_);
    painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
}

}  // namespace qx::qt
