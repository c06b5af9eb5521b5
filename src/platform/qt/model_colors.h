// Colours of the window model as toolkit colours: 0x00BBGGRR values, and
// the system colours 0x800000nn taken from the palette.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace qx::qt {

bool isSystemColor(std::uint32_t color);

// The palette role standing for a system colour (window background, window
// text, button face, button text; any other index reads as the window).
QPalette::ColorRole systemColorRole(std::uint32_t color);

QColor toQColor(std::uint32_t color, const QPalette& palette);

}  // namespace qx::qt
