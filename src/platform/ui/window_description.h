// A testing aid: the program's windows as their model says the screen must
// show them, in device pixels, written to a file whenever it changes. A test
// holds a picture of the screen against it (tests/desktop/pixel_oracle.py).
//
//   window frmMain shown=1 mapped=1 x=504 y=263 width=272 height=271
//          outer=500,220,280,318 scale=1 twips=15 back=f0f0f0
//   control Frame1 frame in=- x=8 y=8 width=257 height=113 back=f0f0f0
//          border=0 transparent=0 caption=1 picture=0 text=-1 pens=-
// (each on one line)
//
// Windows come bottom to top, each followed by one "control" line for each
// of its controls shown, bottom to top: a container
// comes before what it holds, and of two controls in one container the
// later lies above. `shown` is what the model shows, `mapped` what the
// backend has on the screen, `outer` its frame's place on the screen.
// Places are relative to the client area, whose corner on the screen is
// the window's x and y. Colours are 0xRRGGBB as the screen shows them;
// `text` is how wide the caption of a label in a font of its own or of a
// size group is in the font it is drawn in (-1: not measured); `pens` are
// the colours of a picture box's latest paint.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/model.h"

namespace qx::ui {

// What the backend knows of the window on the screen.
struct ScreenView {
    bool shown = false;  // mapped, and neither hidden nor minimized
    int clientLeft = 0;  // the client area's corner on the screen, device pixels
    int clientTop = 0;
    double scale = 1;  // device pixels per window pixel
    double twipsPerPixel = 15;
    int outerLeft = 0, outerTop = 0, outerWidth = 0, outerHeight = 0;  // device pixels
    std::function<std::uint32_t(std::uint32_t)> rgb;  // a model colour as 0xRRGGBB
    // How wide a caption is in the font the control asks for, made `share`
    // of its size, device pixels.
    std::function<int(const Control&, double share)> textWidth;
    // The share of its font size a label is drawn at (none: 1).
    std::function<double(const Control&)> fontShare;
};

struct ShownWindow {
    const Form* form = nullptr;
    ScreenView view;
};

// Passes drawing on and keeps the colours it was drawn in.
class PenColorCanvas final : public Canvas {
public:
    explicit PenColorCanvas(Canvas& inner) : inner_(inner) {}
    void line(int x1, int y1, int x2, int y2, const Pen& pen) override;
    void rect(int x1, int y1, int x2, int y2, const Pen& pen) override;
    void polyline(const Point* points, int count, const Pen& pen) override;
    const std::vector<std::uint32_t>& colors() const { return colors_; }

private:
    void keep(std::uint32_t color);
    Canvas& inner_;
    std::vector<std::uint32_t> colors_;
};

std::string DescribeWindow(const Form& form, const ScreenView& view,
                           const std::map<const Control*, std::vector<std::uint32_t>>& pens);

// Keeps the file at `path` up to date with the window's description.
class WindowDescriber {
public:
    // `windows` lists the loaded windows, bottom to top.
    WindowDescriber(std::string path, std::function<std::vector<ShownWindow>()> windows)
        : path_(std::move(path)), windows_(std::move(windows)) {}
    // The colours `box` was painted in just now.
    void painted(const Control& box, const std::vector<std::uint32_t>& colors);
    // Writes the description if it changed: a new file put in place in one
    // step, so a reader never sees half of one. False if it can't be written.
    bool update();

private:
    std::string path_;
    std::function<std::vector<ShownWindow>()> windows_;
    std::map<const Control*, std::vector<std::uint32_t>> pens_;
    std::string written_;
};

}  // namespace qx::ui
