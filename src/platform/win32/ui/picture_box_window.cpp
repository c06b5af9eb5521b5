#include "platform/win32/ui/picture_box_window.h"
#include "platform/win32/ui/window_class.h"

#include "platform/win32/ui/child_messages.h"
#include "platform/win32/ui/gdi_canvas.h"
#include "platform/win32/ui/win32_colors.h"

namespace qx::win32ui {

namespace {

// Draws the whole box into its back buffer (erase, picture, paint callback)
// and copies `area` of it onto `target`.
void render(HWND window, PictureBoxState& state, HDC target, const RECT& area) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = state.buffer.prepare(target, client.right, client.bottom) ? state.buffer.dc() : target;
    {
        GdiCanvas canvas(dc, state.points);
        canvas.fill(client, state.backColor);
        if (state.picture) {
            DrawIconEx(dc, 0, 0, state.picture, state.pictureSize, state.pictureSize, 0, nullptr, DI_NORMAL);
        }
        if (state.paint) {
            // The canvas only keeps drawing what the callback got to.
            guardedCall(state.failed, [&] { state.paint(canvas); });
        }
    }
    if (dc != target) state.buffer.copyTo(target, area);
}

void paint(HWND window, PictureBoxState& state) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window, &ps);
    if (!target) return;
    render(window, state, target, ps.rcPaint);
    EndPaint(window, &ps);
}

LRESULT CALLBACK pictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PictureBoxState* state = windowObject<PictureBoxState>(window, message, lParam);
    if (paintsItself(window, message, state, paint)) return message == WM_ERASEBKGND ? 1 : 0;
    switch (message) {
        case WM_LBUTTONDBLCLK: reportDoubleClick(window); return 0;
        // Controls inside the box report to the window they lie in.
        case WM_COMMAND:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
        case WM_DRAWITEM:
            if (HWND root = rootOf(window); root && root != window) return SendMessageW(root, message, wParam, lParam);
            break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool registerPictureBoxClass(HINSTANCE instance) {
    return ensureWindowClass(instance, kPictureBoxClass, pictureBoxProc,
                             {.doubleClicks = true, .arrowCursor = true, .ownDc = true});
}

HWND createPictureBoxWindow(HINSTANCE instance, HWND parent, PictureBoxState& state, int id, bool border,
                            const ChildStart& start) {
    return createChildWindow(border ? WS_EX_CLIENTEDGE : 0, kPictureBoxClass, WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             start, parent, id, instance, &state);
}

PictureBoxState* pictureBoxStateOf(HWND box) {
    return reinterpret_cast<PictureBoxState*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

void repaintPictureBox(HWND box) {
    // A region that is invalid anyway still gets its WM_PAINT.
    if (PictureBoxState* state = pictureBoxStateOf(box)) {
        drawNow(box, [&](HDC dc, const RECT& client) { render(box, *state, dc, client); });
    }
}

}  // namespace qx::win32ui
