// One model control and the child window that shows it: a frame is a
// BUTTON group box, a label the program's label class, a picture box the
// program's picture box class, a button a BUTTON push button. The record
// keeps what the window needs besides its HWND (the label's and picture
// box's state) and where it lies: the HWND it is a child of, and the frame
// whose position its own is relative to (controls in a frame are siblings
// of the frame, above it, since a group box is no container for windows).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/ui/model.h"
#include "platform/win32/ui/font_cache.h"
#include "platform/win32/ui/label_window.h"
#include "platform/win32/ui/picture_box_window.h"
#include "platform/win32/ui/win32_dpi.h"

namespace qx::win32ui {

struct ControlWindow {
    ui::Control* control = nullptr;
    HWND handle = nullptr;
    HWND parent = nullptr;
    const ControlWindow* frame = nullptr;
    int id = 0;
    PixelRect inContainer;  // in the container's client pixels
    double fontPoints = kDefaultFontPoints;
    bool fontBold = false;
    std::string picture;
    std::unique_ptr<LabelState> label;
    std::unique_ptr<PictureBoxState> box;
};

// Creates the child window for `record.control` inside `record.parent`, as
// `start` says; false when the system refuses. A label learns the size it
// is drawn at from `fontGroups`.
bool createControlWindow(HINSTANCE instance, ControlWindow& record, ui::FontGroups& fontGroups,
                         const ChildStart& start);

// The control's rectangle in its HWND parent's client pixels: its own
// rectangle in the container plus the offsets of the frames it lies in.
PixelRect placeInParent(const ControlWindow& record);

}  // namespace qx::win32ui
