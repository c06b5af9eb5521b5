#include "platform/sim/recording_canvas.h"

#include <cstdio>

namespace qx::sim {

namespace {
std::string PenText(const ui::Pen& pen) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "pen=0x%06X/%d", pen.color, pen.width);
    return buf;
}

std::string PointText(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
}  // namespace

void RecordingCanvas::line(int x1, int y1, int x2, int y2, const ui::Pen& pen) {
    ops_.push_back("line " + PointText(x1, y1) + " " + PointText(x2, y2) + " " + PenText(pen));
}

void RecordingCanvas::rect(int x1, int y1, int x2, int y2, const ui::Pen& pen) {
    ops_.push_back("rect " + PointText(x1, y1) + " " + PointText(x2, y2) + " " + PenText(pen));
}

void RecordingCanvas::polyline(const ui::Point* points, int count, const ui::Pen& pen) {
    std::string op = "polyline " + std::to_string(count) + " " + PenText(pen);
    for (int i = 0; i < count; ++i) op += " " + PointText(points[i].x, points[i].y);
    ops_.push_back(std::move(op));
}

}  // namespace qx::sim
