// The drawing surface of a picture box on a GDI device context (normally the
// picture box's back buffer): lines, rectangle outlines and polylines in the
// box's client pixels, with the model's pens. A solid horizontal or vertical
// line is a FillRect over the pixels it covers, both ends included and as
// wide as the pen; everything else goes through a GDI pen (width 1 or 2).
#pragma once

#include <windows.h>

#include <vector>

#include "platform/ui/canvas.h"

namespace qx::win32ui {

class GdiCanvas final : public ui::Canvas {
public:
    // `points` is scratch space for polylines, kept by the caller from one
    // paint to the next so a paint allocates nothing once it has grown.
    GdiCanvas(HDC dc, std::vector<POINT>& points);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void line(int x1, int y1, int x2, int y2, const ui::Pen& pen) override;
    void rect(int x1, int y1, int x2, int y2, const ui::Pen& pen) override;
    void polyline(const ui::Point* points, int count, const ui::Pen& pen) override;

    // Fills whole pixels [left, right) x [top, bottom) with a model colour.
    void fill(const RECT& area, std::uint32_t color);

    // The pixels a solid horizontal or vertical line covers: `width` pixels
    // across, from end to end, both ends included.
    static RECT axisLineRect(int x1, int y1, int x2, int y2, int width);

private:
    void use(const ui::Pen& pen);

    HDC dc_;
    std::vector<POINT>& points_;
    HPEN pen_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;
    ui::Pen current_;
};

}  // namespace qx::win32ui
