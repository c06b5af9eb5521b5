// How a label's text that is too wide for it still fits: its font is made
// smaller, the same way on every backend.
#pragma once

#include <algorithm>

namespace qx::ui {

// The share of its normal size a label's font is drawn at when its text
// needs `needed` pixels and the label has `room`: 1 when the text fits,
// else just small enough to fit, but never below three quarters.
inline double FontScaleToFit(double needed, double room) {
    if (needed <= room || room <= 0) return 1.0;
    return std::max(0.75, (room - 1) / needed);
}

}  // namespace qx::ui
