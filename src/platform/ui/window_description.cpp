#include "platform/ui/window_description.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/runtime/numbers.h"
#include "platform/ui/pixels.h"
#include "platform/ui/stacking.h"

namespace qx::ui {

namespace {

constexpr int kBoxBorderPixels = 2;

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::Frame: return "frame";
        case Kind::Label: return "label";
        case Kind::PictureBox: return "picture";
        case Kind::Button: return "button";
    }
    return "?";
}

// Shown when it and every container it is in are.
bool showing(const Control& control) {
    for (const Control* c = &control; c; c = c->container()) {
        if (!c->visible()) return false;
    }
    return true;
}

// The control's place in the client area, in window pixels: each container
// places what it holds from its own corner (a picture box from inside its
// border), in whole pixels.
PixelRect placeInClient(const Control& control, double twipsPerPixel) {
    PixelRect rect = twipsRectToPixels(control.leftTwips(), control.topTwips(), control.widthTwips(),
                                       control.heightTwips(), twipsPerPixel);
    if (const Control* container = control.container()) {
        const PixelRect outer = placeInClient(*container, twipsPerPixel);
        const int border = container->kind() == Kind::PictureBox && container->border ? kBoxBorderPixels : 0;
        rect.left += outer.left + border;
        rect.top += outer.top + border;
    }
    return rect;
}

std::string hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

}  // namespace

void PenColorCanvas::keep(std::uint32_t color) {
    if (std::find(colors_.begin(), colors_.end(), color) == colors_.end()) colors_.push_back(color);
}

void PenColorCanvas::line(int x1, int y1, int x2, int y2, const Pen& pen) {
    keep(pen.color);
    inner_.line(x1, y1, x2, y2, pen);
}

void PenColorCanvas::rect(int x1, int y1, int x2, int y2, const Pen& pen) {
    keep(pen.color);
    inner_.rect(x1, y1, x2, y2, pen);
}

void PenColorCanvas::polyline(const Point* points, int count, const Pen& pen) {
    if (count >= 2) keep(pen.color);
    inner_.polyline(points, count, pen);
}

std::string DescribeWindow(const Form& form, const ScreenView& view,
                           const std::map<const Control*, std::vector<std::uint32_t>>& pens) {
    const auto device = [&](int pixels) { return toDevicePixels(pixels, view.scale); };
    // Without a toolkit to ask, a colour is the model's 0x00BBGGRR turned round.
    const auto rgb = [&](std::uint32_t color) {
        return hex(view.rgb ? view.rgb(color)
                            : (color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF));
    };
    const double tpp = view.twipsPerPixel;
    // What the model shows, and what the backend has on the screen.
    const bool shown = form.visible() && form.windowState() != kMinimized;
    std::string text = "window " + form.name() + " shown=" + std::to_string(shown ? 1 : 0) +
                       " mapped=" + std::to_string(view.shown ? 1 : 0) +
                       " x=" + std::to_string(view.clientLeft) + " y=" + std::to_string(view.clientTop) +
                       " width=" + std::to_string(device(twipsToPixels(form.scaleWidth(), tpp))) +
                       " height=" + std::to_string(device(twipsToPixels(form.scaleHeight(), tpp))) +
                       " outer=" + std::to_string(view.outerLeft) + "," + std::to_string(view.outerTop) + "," +
                       std::to_string(view.outerWidth) + "," + std::to_string(view.outerHeight) +
                       " scale=" + std::to_string(view.scale) + " twips=" + std::to_string(tpp) +
                       " back=" + rgb(kSysButtonFace) + "\n";
    for (const Control* c : StackingOrder(form)) {
        if (!showing(*c)) continue;
        const PixelRect r = placeInClient(*c, tpp);
        const Control* holder = HolderOf(*c);
        const int border = c->kind() == Kind::PictureBox && c->border ? device(kBoxBorderPixels) : 0;
        text += "control " + c->name() + " " + kindName(c->kind()) + " in=" + (holder ? holder->name() : "-") +
                " x=" + std::to_string(device(r.left)) + " y=" + std::to_string(device(r.top)) +
                " width=" + std::to_string(device(r.left + r.width) - device(r.left)) +
                " height=" + std::to_string(device(r.top + r.height) - device(r.top)) + " back=" +
                rgb(c->backColor()) + " border=" + std::to_string(border) +
                " transparent=" + (c->transparent ? "1" : "0") + " caption=" + (c->caption().empty() ? "0" : "1") +
                " picture=" + (c->picture.empty() ? "0" : "1");
        const bool measured = c->kind() == Kind::Label && (c->fontSize > 0 || c->fontBold || c->fontGroup != 0) &&
                              !c->caption().empty() && view.textWidth;
        const double share = view.fontShare ? view.fontShare(*c) : 1.0;
        text += " text=" + std::to_string(measured ? view.textWidth(*c, share) : -1);
        text += " pens=";
        std::string colors;
        if (const auto found = pens.find(c); found != pens.end()) {
            for (std::uint32_t color : found->second) colors += (colors.empty() ? "" : ",") + rgb(color);
        }
        text += (colors.empty() ? std::string("-") : colors) + "\n";
    }
    return text;
}

void WindowDescriber::painted(const Control& box, const std::vector<std::uint32_t>& colors) { pens_[&box] = colors; }

bool WindowDescriber::update() {
    std::string text;
    for (const ShownWindow& window : windows_()) text += DescribeWindow(*window.form, window.view, pens_);
    if (text == written_) return true;
    const std::filesystem::path target(path_);
    std::filesystem::path fresh = target;
    fresh += ".new";
    {
        std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(fresh, target, error);
    if (error) return false;
    written_ = std::move(text);
    return true;
}

}  // namespace qx::ui
