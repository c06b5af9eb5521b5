// Drawing surface of a picture box: lines, rectangle outlines and polylines
// with a pen, in the box's pixels.
#pragma once

#include <cstdint>

namespace qx::ui {

struct Pen {
    std::uint32_t color = 0;  // 0x00BBGGRR
    int width = 1;
    int style = 0;  // 0 solid
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void line(int x1, int y1, int x2, int y2, const Pen& pen) = 0;
    virtual void rect(int x1, int y1, int x2, int y2, const Pen& pen) = 0;
    // Connected segments through the points; fewer than two points draw nothing.
    virtual void polyline(const Point* points, int count, const Pen& pen) = 0;
};

// The pixels a solid horizontal or vertical line covers, square caps
// included: a pen `width` wide lies centred on it, its odd pixel to the
// right or below. Right and bottom are just outside.
struct PixelBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline PixelBox AxisLineBox(int x1, int y1, int x2, int y2, int width) {
    const int across = width > 1 ? width : 1;
    const int lead = across / 2;
    return {(x1 < x2 ? x1 : x2) - lead, (y1 < y2 ? y1 : y2) - lead, (x1 < x2 ? x2 : x1) - lead + across,
            (y1 < y2 ? y2 : y1) - lead + across};
}

// A solid outline drawn as its four sides: their square caps cover the
// mitred corners.
inline void OutlineAsSides(Canvas& canvas, int x1, int y1, int x2, int y2, const Pen& pen) {
    canvas.line(x1, y1, x2, y1, pen);
    canvas.line(x2, y1, x2, y2, pen);
    canvas.line(x2, y2, x1, y2, pen);
    canvas.line(x1, y2, x1, y1, pen);
}

}  // namespace qx::ui
