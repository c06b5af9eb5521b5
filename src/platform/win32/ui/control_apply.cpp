#include "platform/win32/ui/control_apply.h"

#include "platform/win32/ui/label_window.h"
#include "platform/win32/ui/picture_box_window.h"
#include "platform/win32/utf16.h"

namespace qx::win32ui {

void applyGeometry(HWND control, const PixelRect& rect) {
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void applyCaption(HWND control, std::string_view caption) {
    SetWindowTextW(control, win32::toUtf16ForDisplay(caption).c_str());
}

void applyVisible(HWND control, bool visible) { ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE); }

void applyEnabled(HWND control, bool enabled) { EnableWindow(control, enabled ? TRUE : FALSE); }

void applyFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void applyLabelColors(HWND label, std::uint32_t foreColor, std::uint32_t backColor, std::uint32_t behindColor) {
    LabelState* state = labelStateOf(label);
    if (!state) return;
    LabelLook look = state->look;
    look.foreColor = foreColor;
    look.backColor = backColor;
    look.behindColor = behindColor;
    setLabelLook(label, look);
}

void applyPictureBoxBackground(HWND box, std::uint32_t backColor) {
    PictureBoxState* state = pictureBoxStateOf(box);
    if (!state || state->backColor == backColor) return;
    state->backColor = backColor;
    InvalidateRect(box, nullptr, FALSE);
}

void applyPicture(HWND box, HICON picture, int sizePixels) {
    PictureBoxState* state = pictureBoxStateOf(box);
    if (!state) return;
    state->picture = picture;
    state->pictureSize = sizePixels;
    InvalidateRect(box, nullptr, FALSE);
}

void applyChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void applyOnTop(HWND control) {
    SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace qx::win32ui
