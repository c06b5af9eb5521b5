// Which control lies above which, the same on every backend.
#pragma once

#include <vector>

#include "platform/ui/model.h"

namespace qx::ui {

// The picture box a control is drawn inside, or nullptr for the window's
// client area (a frame only groups: its controls lie beside it).
const Control* HolderOf(const Control& control);

// Every control, bottom to top. Among the controls of one holder, frames lie
// lowest, then labels, then the rest, each kind in the order of definition,
// so a figure that reaches over a bar's edge leaves the edge whole; the
// controls that ask to lie on top come last. A picture box's own controls
// follow it straight away.
std::vector<const Control*> StackingOrder(const Form& form);

}  // namespace qx::ui
