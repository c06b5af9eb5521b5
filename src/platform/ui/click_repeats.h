// Clicks that a desktop reports one at a time: a StatusNotifierItem host
// sends one Activate for each click of a double-click (some send one more
// for the double-click itself). The first acts; every further one within the
// double-click time of it belongs to the same double-click.
#pragma once

#include <cstdint>

namespace qx::ui {

class ClickRepeats {
public:
    // Whether a click at `nowMs` (a steady clock) acts.
    bool acts(std::int64_t nowMs, int doubleClickMs) {
        if (acted_ && nowMs >= last_ && nowMs - last_ < doubleClickMs) return false;
        acted_ = true;
        last_ = nowMs;
        return true;
    }

private:
    bool acted_ = false;
    std::int64_t last_ = 0;
};

}  // namespace qx::ui
