// Window to model: the window procedure, every event leaving through one of
// the FormWindowEvents callbacks.
#include "platform/win32/ui/form_window.h"

#include "platform/win32/ui/child_messages.h"
#include "platform/win32/ui/window_class.h"

namespace qx::win32ui {

LRESULT CALLBACK FormWindow::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = windowObject<FormWindow>(window, message, lParam);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE) self->window_ = window;
    return self->onMessage(message, wParam, lParam);
}

LRESULT FormWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: command(wParam, lParam); return 0;
        case WM_CLOSE:
            // The form decides; a disabled window can't be closed.
            if (IsWindowEnabled(window_) && events_.closeBox) emit([&] { events_.closeBox(); });
            return 0;
        case WM_SIZE: sized(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
        case WM_MOVE:
            if (!applying_ && shownOnce_ && events_.moved) emit([&] { events_.moved(); });
            return 0;
        case WM_DPICHANGED: dpiChangedTo(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
        case kChildDoubleClicked:
            if (const ui::Control* control = controlOf(reinterpret_cast<HWND>(lParam)); control && events_.doubleClicked) {
                ui::Control* target = const_cast<ui::Control*>(control);
                emit([&] { events_.doubleClicked(target); });
            }
            return 0;
        case WM_LBUTTONDBLCLK:
            formDoubleClicked({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void FormWindow::command(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (lParam == 0 || id == IDOK || id == IDCANCEL) {
        // The dialog manager turns Enter and Esc into IDOK and IDCANCEL.
        if (id == IDOK || id == IDCANCEL) {
            const char* key = id == IDOK ? "Enter" : "Esc";
            if (events_.key) emit([&] { events_.key(key); });
            return;
        }
        // A menu entry (HIWORD 0) or its shortcut (HIWORD 1).
        if (ui::MenuItem* item = menus_ ? menus_->itemForCommand(id) : nullptr; item && events_.menuChosen) {
            emit([&] { events_.menuChosen(*item); });
        }
        return;
    }
    if (HIWORD(wParam) != BN_CLICKED) return;
    for (ControlWindow& c : controls_) {
        if (c.id == static_cast<int>(id) && c.control->kind() == ui::Kind::Button && events_.buttonClicked) {
            ui::Control* button = c.control;
            emit([&] { events_.buttonClicked(*button); });
            return;
        }
    }
}

void FormWindow::sized(WPARAM kind, int width, int height) {
    if (kind == SIZE_MAXHIDE || kind == SIZE_MAXSHOW) return;
    const int state = kind == SIZE_MINIMIZED ? ui::kMinimized : kind == SIZE_MAXIMIZED ? ui::kMaximized : ui::kNormal;
    if (state != state_) {
        state_ = state;
        if (!applying_ && events_.stateChanged) emit([&] { events_.stateChanged(state); });
    }
    if (state == ui::kMinimized || !shownOnce_) return;
    if (!applying_ && events_.clientResized) emit([&] { events_.clientResized(width, height); });
    // Group boxes don't erase what lies inside them, and moved controls
    // leave their old drawing behind: after a new size and the layout that
    // follows it, the whole window is drawn anew, background first.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::dpiChangedTo(UINT dpi, const RECT* suggested) {
    if (dpi == 0) return;
    dpi_ = dpi;
    if (events_.dpiChanged) emit([&] { events_.dpiChanged(twipsPerPixel()); });
    if (suggested) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layOutAll();
}

void FormWindow::formDoubleClicked(POINT at) {
    // A group box lets the mouse through to the window: find the frame here.
    ui::Control* target = nullptr;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const ControlWindow& c = *it;
        const bool shown = (GetWindowLongPtrW(c.handle, GWL_STYLE) & WS_VISIBLE) != 0;
        if (c.control->kind() != ui::Kind::Frame || c.parent != window_ || !shown) continue;
        const PixelRect r = placeInParent(c);
        if (at.x >= r.left && at.x < r.left + r.width && at.y >= r.top && at.y < r.top + r.height) {
            target = c.control;
            break;
        }
    }
    if (events_.doubleClicked) emit([&] { events_.doubleClicked(target); });
}

}  // namespace qx::win32ui
