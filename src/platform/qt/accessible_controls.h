// What a screen reader gets of the window's controls beyond what Qt gives
// by itself: frames and the client area list their controls in reading
// order (row by row), a bar is a meter with its free share as the value,
// the graph a chart whose description holds the latest figures, and the
// status line a status bar.
#pragma once

class QWidget;

namespace qx::qt {

// Once per process, after the application object exists.
void installAccessibleControls();

// Gives a meter its value (a percentage; below 0: none) and tells a screen
// reader of the change.
void setMeterValue(QWidget* widget, double value);

}  // namespace qx::qt
