#include "platform/win32/ui/label_window.h"
#include "platform/win32/ui/window_class.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/runtime/numbers.h"
#include "platform/ui/text_fit.h"
#include "platform/win32/ui/child_messages.h"
#include "platform/win32/ui/win32_colors.h"

namespace qx::win32ui {

namespace {

UINT textFormat(ui::Alignment alignment) {
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    switch (alignment) {
        case ui::Alignment::Right: return format | DT_RIGHT;
        case ui::Alignment::Center: return format | DT_CENTER;
        default: return format | DT_LEFT;
    }
}

std::uint32_t shownBackground(const LabelLook& look) {
    const bool own = !look.transparent && look.backColor != ui::kSysButtonFace;
    return own ? look.backColor : look.behindColor;
}

// Tells the label's group what share of its font size the text needs to
// fit: `text` when it is being set, else the window's text.
void measure(HWND window, LabelState& state, const wchar_t* text = nullptr) {
    std::wstring own;
    if (!text) {
        own.resize(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
        own.resize(static_cast<std::size_t>(GetWindowTextW(window, own.data(), static_cast<int>(own.size()))));
        text = own.c_str();
    }
    const int length = static_cast<int>(std::wcslen(text));
    RECT client{};
    GetClientRect(window, &client);
    SIZE extent{};
    // Once the label has painted, its back buffer's DC measures: no DC is
    // fetched for every new figure.
    if (!state.font || length == 0) {
        // Nothing to measure.
    } else if (HDC buffer = state.buffer.dc()) {
        state.buffer.useFont(state.font);
        if (!GetTextExtentPoint32W(buffer, text, length, &extent)) extent.cx = 0;
    } else if (HDC dc = GetDC(window)) {
        HGDIOBJ old = SelectObject(dc, state.font);
        if (!GetTextExtentPoint32W(dc, text, length, &extent)) extent.cx = 0;
        SelectObject(dc, old);
        ReleaseDC(window, dc);
    }
    state.groups->measured(*state.control, ui::FontScaleToFit(extent.cx, client.right));
}

LONG shrunkHeight(LONG height, double share) { return static_cast<LONG>(RoundHalfEven(height * share)); }

// The font the text is drawn in: the normal one, or one made smaller.
HFONT shownFont(LabelState& state) {
    state.shrunkLast = false;
    const double share = state.groups->shownShare(*state.control);
    LOGFONTW face{};
    if (!state.font || share >= 1.0 || !GetObjectW(state.font, sizeof face, &face)) return state.font;
    const LONG height = shrunkHeight(face.lfHeight, share);
    if (height == face.lfHeight) return state.font;
    if (!state.shrunk.get() || state.shrunkHeight != height) {
        state.buffer.useFont(nullptr);  // the old one may be in it
        state.shrunk.reset(createShrunkFont(state.font, share));
        state.shrunkHeight = height;
    }
    if (!state.shrunk.get()) return state.font;
    state.shrunkLast = true;
    return state.shrunk.get();
}

// Draws the label into its back buffer and copies `area` of it onto
// `target`. The buffer keeps the label's font selected from one figure to
// the next.
void render(HWND window, LabelState& state, HDC target, const RECT& area) {
    RECT client;
    GetClientRect(window, &client);
    const bool buffered = state.buffer.prepare(target, client.right, client.bottom);
    HDC dc = buffered ? state.buffer.dc() : target;

    HBRUSH background = CreateSolidBrush(toColorRef(shownBackground(state.look)));
    FillRect(dc, &client, background);
    DeleteObject(background);

    const int length = GetWindowTextLengthW(window);
    if (length > 0) {
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const int got = GetWindowTextW(window, text.data(), length + 1);
        HFONT font = shownFont(state);
        HGDIOBJ oldFont = nullptr;
        if (buffered) {
            state.buffer.useFont(font);
        } else if (font) {
            oldFont = SelectObject(dc, font);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled(window) ? toColorRef(state.look.foreColor) : GetSysColor(COLOR_GRAYTEXT));
        RECT box = client;
        DrawTextW(dc, text.data(), got, &box, textFormat(state.look.alignment));
        if (oldFont) SelectObject(dc, oldFont);
    }
    if (buffered) state.buffer.copyTo(target, area);
}

void paint(HWND window, LabelState& state) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window, &ps);
    if (!target) return;
    render(window, state, target, ps.rcPaint);
    EndPaint(window, &ps);
}

// A new figure is drawn at once through the label's own DC, as a static
// control draws its new text.
void repaintNow(HWND window, LabelState& state) {
    if (!drawNow(window, [&](HDC dc, const RECT& client) { render(window, state, dc, client); })) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

LRESULT CALLBACK labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LabelState* state = windowObject<LabelState>(window, message, lParam);
    if (paintsItself(window, message, state, paint)) return message == WM_ERASEBKGND ? 1 : 0;
    switch (message) {
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            if (state) {
                measure(window, *state, reinterpret_cast<const wchar_t*>(lParam));
                repaintNow(window, *state);
            }
            return result;
        }
        case WM_SIZE:
            if (state) measure(window, *state);
            break;
        case WM_SETFONT:
            if (state) {
                state->buffer.useFont(nullptr);
                state->font = reinterpret_cast<HFONT>(wParam);
                state->shrunk.reset(nullptr);  // made from the old one
                state->shrunkHeight = 0;
                measure(window, *state);
            }
            if (LOWORD(lParam)) InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_DESTROY:
            if (state) {
                state->groups->leave(*state->control);
                state->buffer.useFont(nullptr);  // the fonts may go before the state
            }
            break;
        case WM_GETFONT: return state ? reinterpret_cast<LRESULT>(state->font) : 0;
        case WM_ENABLE: InvalidateRect(window, nullptr, FALSE); return 0;
        case WM_LBUTTONDBLCLK: reportDoubleClick(window); return 0;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool registerLabelClass(HINSTANCE instance) {
    return ensureWindowClass(instance, kLabelClass, labelProc,
                              {.doubleClicks = true, .arrowCursor = true, .ownDc = true});
}

HWND createLabelWindow(HINSTANCE instance, HWND parent, LabelState& state, int id, const ChildStart& start) {
    HWND label = createChildWindow(0, kLabelClass, WS_CLIPSIBLINGS, start, parent, id, instance, &state);
    if (label) state.groups->join(*state.control, [label] { InvalidateRect(label, nullptr, FALSE); });
    return label;
}

HFONT createShrunkFont(HFONT font, double share) {
    LOGFONTW face{};
    if (!GetObjectW(font, sizeof face, &face)) return nullptr;
    face.lfHeight = shrunkHeight(face.lfHeight, share);
    face.lfWidth = 0;
    return CreateFontIndirectW(&face);
}

LabelState* labelStateOf(HWND label) {
    return reinterpret_cast<LabelState*>(GetWindowLongPtrW(label, GWLP_USERDATA));
}

void setLabelLook(HWND label, const LabelLook& look) {
    LabelState* state = labelStateOf(label);
    if (!state) return;
    state->look = look;
    InvalidateRect(label, nullptr, FALSE);
}

}  // namespace qx::win32ui
