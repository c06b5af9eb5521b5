// A picture box: its own child window class. Every paint fills the client
// area with the background colour, draws the picture at the top left and
// runs the paint callback on a GdiCanvas, all in a back buffer that is then
// copied to the screen in one go, so the graph's repaint ten times a second
// doesn't flicker. The optional border is the sunken 2-pixel client edge;
// child controls lie in the client area, clipped to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/model.h"
#include "platform/win32/ui/back_buffer.h"
#include "platform/win32/ui/child_start.h"
#include "platform/win32/ui/guarded_call.h"

namespace qx::win32ui {

inline constexpr wchar_t kPictureBoxClass[] = L"QuendaxPictureBox";

// The picture box's state, owned by whoever creates the window; it must
// outlive it.
struct PictureBoxState {
    std::uint32_t backColor = ui::kSysButtonFace;
    HICON picture = nullptr;  // not owned
    int pictureSize = 0;      // drawn square, in pixels (0: the icon's own size)
    std::function<void(ui::Canvas&)> paint;
    FailureHandler failed;
    BackBuffer buffer;
    std::vector<POINT> points;  // polyline scratch, kept between paints
};

bool registerPictureBoxClass(HINSTANCE instance);
HWND createPictureBoxWindow(HINSTANCE instance, HWND parent, PictureBoxState& state, int id, bool border,
                            const ChildStart& start);
PictureBoxState* pictureBoxStateOf(HWND box);

// Repaints the box now (erase, picture, paint callback) if it can be seen.
void repaintPictureBox(HWND box);

}  // namespace qx::win32ui
