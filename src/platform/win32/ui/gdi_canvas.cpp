#include "platform/win32/ui/gdi_canvas.h"

#include <algorithm>

#include "platform/win32/ui/win32_colors.h"

namespace qx::win32ui {

namespace {

int gdiPenStyle(int style) {
    switch (style) {
        case 1: return PS_DASH;
        case 2: return PS_DOT;
        case 3: return PS_DASHDOT;
        case 4: return PS_DASHDOTDOT;
        case 5: return PS_NULL;
        default: return PS_SOLID;  // 0 solid, 6 inside solid
    }
}

bool isSolid(const ui::Pen& pen) { return gdiPenStyle(pen.style) == PS_SOLID; }

}  // namespace

GdiCanvas::GdiCanvas(HDC dc, std::vector<POINT>& points) : dc_(dc), points_(points) {}

GdiCanvas::~GdiCanvas() {
    if (pen_) {
        SelectObject(dc_, originalPen_);
        DeleteObject(pen_);
    }
}

void GdiCanvas::use(const ui::Pen& pen) {
    if (pen_ && pen.color == current_.color && pen.width == current_.width && pen.style == current_.style) return;
    // Dashes and dots exist only for 1-pixel pens; a wider one is solid.
    const int width = std::max(1, pen.width);
    HPEN made = CreatePen(width > 1 && gdiPenStyle(pen.style) != PS_NULL ? PS_SOLID : gdiPenStyle(pen.style),
                          width, toColorRef(pen.color));
    if (!made) return;
    HGDIOBJ previous = SelectObject(dc_, made);
    if (pen_) {
        DeleteObject(pen_);
    } else {
        originalPen_ = previous;
    }
    pen_ = made;
    current_ = pen;
}

RECT GdiCanvas::axisLineRect(int x1, int y1, int x2, int y2, int width) {
    const ui::PixelBox box = ui::AxisLineBox(x1, y1, x2, y2, width);
    return {box.left, box.top, box.right, box.bottom};
}

void GdiCanvas::fill(const RECT& area, std::uint32_t color) {
    // SetDCBrushColor would need no object per call, but the DC brush is
    // absent on Windows 2000; one solid brush per fill is cheap enough.
    HBRUSH brush = CreateSolidBrush(toColorRef(color));
    if (!brush) return;
    FillRect(dc_, &area, brush);
    DeleteObject(brush);
}

void GdiCanvas::line(int x1, int y1, int x2, int y2, const ui::Pen& pen) {
    if ((x1 == x2 || y1 == y2) && isSolid(pen)) {
        fill(axisLineRect(x1, y1, x2, y2, pen.width), pen.color);
        return;
    }
    use(pen);
    MoveToEx(dc_, x1, y1, nullptr);
    LineTo(dc_, x2, y2);
}

void GdiCanvas::rect(int x1, int y1, int x2, int y2, const ui::Pen& pen) {
    if (isSolid(pen)) {
        ui::OutlineAsSides(*this, x1, y1, x2, y2, pen);
        return;
    }
    use(pen);
    HGDIOBJ brush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
    Rectangle(dc_, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
    SelectObject(dc_, brush);
}

void GdiCanvas::polyline(const ui::Point* points, int count, const ui::Pen& pen) {
    if (count < 2) return;
    use(pen);
    points_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) points_[static_cast<std::size_t>(i)] = {points[i].x, points[i].y};
    Polyline(dc_, points_.data(), count);
}

}  // namespace qx::win32ui
