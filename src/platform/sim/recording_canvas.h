// A canvas that keeps the operations drawn on it as text lines:
//   line X1,Y1 X2,Y2 pen=0x008000/1
//   polyline N pen=0x00C000/1 X,Y X,Y ...
//   rect X1,Y1 X2,Y2 pen=0x007000/2
#pragma once

#include <string>
#include <vector>

#include "platform/ui/canvas.h"

namespace qx::sim {

class RecordingCanvas final : public ui::Canvas {
public:
    void line(int x1, int y1, int x2, int y2, const ui::Pen& pen) override;
    void rect(int x1, int y1, int x2, int y2, const ui::Pen& pen) override;
    void polyline(const ui::Point* points, int count, const ui::Pen& pen) override;

    const std::vector<std::string>& operations() const { return ops_; }

private:
    std::vector<std::string> ops_;
};

}  // namespace qx::sim
