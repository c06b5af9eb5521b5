// A label: its own child window class that draws one line of plain text at
// the top of its box ("&" shown as it is), aligned left, right or centred,
// in the model's text colour and font, on its own background colour or, when
// it has none, on the colour of what it lies on. Background and text go on
// screen in one ExtTextOutW, so a figure changing ten times a second never
// shows the bare background in between. The caption is the
// window text, so GetWindowTextW reads it. A text wider than the label is
// drawn in a smaller font, down to three quarters of the normal size,
// before it is cut off; labels of one size group all take the smallest size
// any of them needs (ui::FontGroups).
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/ui/font_groups.h"
#include "platform/ui/model.h"
#include "platform/win32/ui/child_start.h"

namespace qx::win32ui {

inline constexpr wchar_t kLabelClass[] = L"QuendaxLabel";

struct LabelLook {
    std::uint32_t foreColor = ui::kSysButtonText;
    std::uint32_t backColor = ui::kSysButtonFace;
    // The colour of what the label lies on: shown where the label has no
    // background of its own (transparent, or in the default button face).
    std::uint32_t behindColor = ui::kSysButtonFace;
    bool transparent = false;
    ui::Alignment alignment = ui::Alignment::Left;
};

// A font the label made itself, deleted with it.
class OwnedFont {
public:
    OwnedFont() = default;
    ~OwnedFont() { reset(nullptr); }
    OwnedFont(const OwnedFont&) = delete;
    OwnedFont& operator=(const OwnedFont&) = delete;
    HFONT get() const { return font_; }
    void reset(HFONT font) {
        if (font_) DeleteObject(font_);
        font_ = font;
    }

private:
    HFONT font_ = nullptr;
};

// The font kept selected in the label's own DC (its class has CS_OWNDC)
// from one drawing to the next: under Wine each selection asks the X
// resource database for the font's settings.
class KeptFont {
public:
    // Selects `font` into `dc` unless it is in already.
    void use(HDC dc, HFONT font);
    // Puts the DC's own font back, as before a font that may be in it goes.
    void drop(HWND window);

private:
    HFONT font_ = nullptr;
    HGDIOBJ original_ = nullptr;  // the DC's own, while font_ is in
};

// The label's state, owned by whoever creates the window; it must outlive it.
struct LabelState {
    const ui::Control* control = nullptr;
    ui::FontGroups* groups = nullptr;  // where it reports the size it needs
    LabelLook look;
    HFONT font = nullptr;  // the normal font, not owned
    KeptFont kept;
    OwnedFont shrunk;       // the normal font made smaller for a long text
    LONG shrunkHeight = 0;  // its LOGFONT height
    bool shrunkLast = false;  // the last paint used it
};

// A new font: `font` made `share` of its size (nullptr if that fails).
HFONT createShrunkFont(HFONT font, double share);

bool registerLabelClass(HINSTANCE instance);
HWND createLabelWindow(HINSTANCE instance, HWND parent, LabelState& state, int id, const ChildStart& start);

// Applies a new look and repaints.
void setLabelLook(HWND label, const LabelLook& look);
LabelState* labelStateOf(HWND label);

}  // namespace qx::win32ui
