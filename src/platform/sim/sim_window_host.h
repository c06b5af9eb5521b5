// The simulated window system: a repaint runs the paint handler at once on
// a recording canvas; a pop-up menu is recorded as an event.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/sim_system.h"
#include "platform/ui/model.h"

namespace qx::sim {

class SimWindowHost final : public ui::WindowHost {
public:
    explicit SimWindowHost(SimSystem& system) : system_(system) {}

    void refresh(ui::Control& box) override;
    void popupMenu(ui::MenuItem& menu) override;

    // The operations of the latest paint of each picture box, by name.
    const std::vector<std::string>* lastPaint(const std::string& box) const;

private:
    SimSystem& system_;
    std::vector<std::pair<std::string, std::vector<std::string>>> paints_;
};

}  // namespace qx::sim
