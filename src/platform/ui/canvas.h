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

}  // namespace qx::ui
