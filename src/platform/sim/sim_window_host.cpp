#include "platform/sim/sim_window_host.h"

#include "platform/sim/recording_canvas.h"

namespace qx::sim {

void SimWindowHost::refresh(ui::Control& box) {
    if (!box.onPaint) return;
    RecordingCanvas canvas;
    box.onPaint(canvas);
    for (auto& [name, ops] : paints_) {
        if (name == box.name()) {
            ops = canvas.operations();
            return;
        }
    }
    paints_.emplace_back(box.name(), canvas.operations());
}

void SimWindowHost::popupMenu(ui::MenuItem& menu) { system_.event() << "popup " << menu.name() << '\n'; }

const std::vector<std::string>* SimWindowHost::lastPaint(const std::string& box) const {
    for (const auto& [name, ops] : paints_) {
        if (name == box) return &ops;
    }
    return nullptr;
}

}  // namespace qx::sim
