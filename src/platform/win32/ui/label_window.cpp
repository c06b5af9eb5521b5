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

// Puts the line where DrawTextW would and returns where to draw it from.
// A right-aligned line (the figures, which change ten times a second) is
// placed by the DC from the right edge, so it needn't be measured first.
int placeLine(HDC dc, ui::Alignment alignment, const RECT& client, const std::wstring& text) {
    SetTextAlign(dc, TA_TOP | (alignment == ui::Alignment::Right ? TA_RIGHT : TA_LEFT));
    if (alignment == ui::Alignment::Right) return client.right;
    if (alignment != ui::Alignment::Center || text.empty()) return client.left;
    SIZE extent{};
    if (!GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) extent.cx = 0;
    return (client.left + client.right - extent.cx) / 2;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
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
        own = windowText(window);
        text = own.c_str();
    }
    const int length = static_cast<int>(std::wcslen(text));
    RECT client{};
    GetClientRect(window, &client);
    SIZE extent{};
    if (!state.font || length == 0) {
        // Nothing to measure.
    } else if (HDC dc = GetDC(window)) {
        state.kept.use(dc, state.font);
        if (!GetTextExtentPoint32W(dc, text, length, &extent)) extent.cx = 0;
        ReleaseDC(window, dc);
    }
    state.groups->measured(*state.control, ui::FontScaleToFit(extent.cx, client.right));
}

LONG shrunkHeight(LONG height, double share) { return static_cast<LONG>(RoundHalfEven(height * share)); }

// The font the text is drawn in: the normal one, or one made smaller.
HFONT shownFont(HWND window, LabelState& state) {
    state.shrunkLast = false;
    const double share = state.groups->shownShare(*state.control);
    LOGFONTW face{};
    if (!state.font || share >= 1.0 || !GetObjectW(state.font, sizeof face, &face)) return state.font;
    const LONG height = shrunkHeight(face.lfHeight, share);
    if (height == face.lfHeight) return state.font;
    if (!state.shrunk.get() || state.shrunkHeight != height) {
        state.kept.drop(window);  // the old one may be in its DC
        state.shrunk.reset(createShrunkFont(state.font, share));
        state.shrunkHeight = height;
    }
    if (!state.shrunk.get()) return state.font;
    state.shrunkLast = true;
    return state.shrunk.get();
}

// Draws the label onto its own DC: background and text in one call.
void render(HWND window, LabelState& state, HDC dc, const RECT& client) {
    const std::wstring text = windowText(window);
    if (HFONT font = shownFont(window, state)) state.kept.use(dc, font);
    SetBkColor(dc, toColorRef(shownBackground(state.look)));
    SetTextColor(dc, IsWindowEnabled(window) ? toColorRef(state.look.foreColor) : GetSysColor(COLOR_GRAYTEXT));
    ExtTextOutW(dc, placeLine(dc, state.look.alignment, client, text), client.top, ETO_OPAQUE | ETO_CLIPPED, &client,
                text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

bool drawOnOwnDc(HWND window, LabelState& state) {
    return drawNow(window, [&](HDC dc, const RECT& client) { render(window, state, dc, client); });
}

// Drawn through the label's own DC, then the whole window (it has no
// frame) taken off the update region: a BeginPaint and EndPaint would cost
// more requests to the window system, once for each of the labels when the
// window first shows.
void paint(HWND window, LabelState& state) {
    if (drawOnOwnDc(window, state)) {
        RedrawWindow(window, nullptr, nullptr, RDW_VALIDATE);
        return;
    }
    PAINTSTRUCT ps;
    HDC target = BeginPaint(window, &ps);
    if (!target) return;
    RECT client;
    GetClientRect(window, &client);
    render(window, state, target, client);
    EndPaint(window, &ps);
}

// A new figure is drawn at once through the label's own DC, as a static
// control draws its new text.
void repaintNow(HWND window, LabelState& state) {
    if (!drawOnOwnDc(window, state)) InvalidateRect(window, nullptr, FALSE);
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
                state->kept.drop(window);
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
                state->kept.drop(window);  // the fonts may go before the state
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

void KeptFont::use(HDC dc, HFONT font) {
    if (font == font_) return;
    HGDIOBJ previous = SelectObject(dc, font);
    if (!previous) return;
    if (!font_) original_ = previous;
    font_ = font;
}

void KeptFont::drop(HWND window) {
    if (!font_) return;
    if (HDC dc = GetDC(window)) {
        SelectObject(dc, original_);
        ReleaseDC(window, dc);
    }
    font_ = nullptr;
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
