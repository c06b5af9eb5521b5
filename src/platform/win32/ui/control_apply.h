// Applying one property of a model control to its window. Each function
// does one thing to one HWND and nothing else, so whoever tracks the model's
// changes (the shared change tracking) calls exactly the ones that changed.
// Geometry is in the parent window's client pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "platform/win32/ui/win32_dpi.h"

namespace qx::win32ui {

void applyGeometry(HWND control, const PixelRect& rect);
// The window text: a label's caption, a button's text, a frame's title.
void applyCaption(HWND control, std::string_view caption);
void applyVisible(HWND control, bool visible);
void applyEnabled(HWND control, bool enabled);
void applyFont(HWND control, HFONT font);
// A label's text colour, own background, and the colour of what it lies on.
void applyLabelColors(HWND label, std::uint32_t foreColor, std::uint32_t backColor, std::uint32_t behindColor);
void applyPictureBoxBackground(HWND box, std::uint32_t backColor);
// The picture drawn at the top left of a picture box (nullptr: none).
void applyPicture(HWND box, HICON picture, int sizePixels);
// A check box or option button's mark.
void applyChecked(HWND button, bool checked);
// Puts the control above its siblings.
void applyOnTop(HWND control);

}  // namespace qx::win32ui
