// The top-level window of one model form, with its menu bar and a child
// window per control. Model to window: one apply function per property
// (what the shared change tracking calls), or syncFromModel() which applies
// whatever changed since it last ran, the window, its controls and menu
// entries as the shared change tracking (ui::FormSync, ui::ControlSync,
// ui::MenuSync) reports it. Window to model: every event goes out
// through one of the FormWindowEvents callbacks (the dispatcher connects
// them to the handlers), inside guardedCall, so no exception unwinds through
// the window procedure.
//
// Lengths: the model's twips become pixels through the window's DPI (15
// twips per pixel at 96 dpi, 12 at 120, 10 at 144, 7.5 at 192). On
// WM_DPICHANGED the window takes the size Windows suggests, lays its
// controls out again from the model's twips, makes its fonts anew, and
// reports the new twips per pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/font_groups.h"
#include "platform/ui/model.h"
#include "platform/ui/view_sync.h"
#include "platform/win32/ui/accelerators.h"
#include "platform/win32/ui/control_window.h"
#include "platform/win32/ui/font_cache.h"
#include "platform/win32/ui/guarded_call.h"
#include "platform/win32/ui/menu_set.h"
#include "platform/win32/ui/win32_dpi.h"

namespace qx::win32ui {

inline constexpr wchar_t kFormClass[] = L"QuendaxForm";

struct FormWindowEvents {
    std::function<void(ui::MenuItem&)> menuChosen;  // menu bar, pop-up and shortcuts
    std::function<void(ui::Control&)> buttonClicked;
    std::function<void(ui::Control*)> doubleClicked;  // nullptr: the window itself
    std::function<void(ui::Control&, ui::Canvas&)> paintBox;
    std::function<void()> closeBox;  // the window stays until the form unloads
    std::function<void(int widthPixels, int heightPixels)> clientResized;
    std::function<void(int state)> stateChanged;  // ui::kNormal, kMinimized, kMaximized
    std::function<void()> moved;
    std::function<void(double twipsPerPixel)> dpiChanged;  // after the new layout
    std::function<bool(std::string_view key)> key;         // "Enter", "Esc"; true when taken
    FailureHandler failed;
};

struct FormWindowOptions {
    HINSTANCE instance = nullptr;
    // A form kept out of the taskbar is owned by this window.
    HWND owner = nullptr;
    // The start-up window is centred on the work area when first shown;
    // others take the model's position.
    bool centreOnScreen = false;
    // Images by their model name ("app", "warning") at a size in pixels. A
    // picture box shows its image filling the box.
    std::function<HICON(std::string_view name, int sizePixels)> icon;
    // Where the labels learn the size they are drawn at (none: the
    // window's own).
    ui::FontGroups* fontGroups = nullptr;
};

class FormWindow {
public:
    // Creates the window, hidden, with its controls and menus, and applies
    // the whole model once. Check handle() for failure.
    FormWindow(ui::Form& form, FormWindowOptions options, FormWindowEvents events);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    ui::Form& form() const { return form_; }
    // The form is going away: the window hides and no event leaves it any
    // more. A handler may unload a form from inside one of its window's
    // callbacks, so delete the FormWindow only once that has returned
    // (from the message loop, e.g. on a message posted to yourself).
    void detach();
    bool detached() const { return detached_; }
    HWND handle() const { return window_; }
    HWND controlHandle(const ui::Control& control) const;
    const ui::Control* controlOf(HWND handle) const;
    MenuSet* menus() const { return menus_.get(); }
    HACCEL accelerators() const { return accelerators_ ? accelerators_->handle() : nullptr; }
    UINT dpi() const { return dpi_; }
    double twipsPerPixel() const { return twipsPerPixelForDpi(dpi_); }

    // ---- the apply API: the window ------------------------------------------
    void setCaption(std::string_view caption);
    // The client area's size, in pixels.
    void setClientSize(int width, int height);
    // The outer top-left corner, in pixels.
    void setPosition(int left, int top);
    void setVisible(bool visible);
    void setEnabled(bool enabled);
    void setWindowState(int state);

    // ---- the apply API: controls ----------------------------------------------
    // `rect` is in the container's client pixels (the form's, a picture
    // box's, or a frame's outer rectangle for controls in a frame).
    void setControlGeometry(const ui::Control& control, const PixelRect& rect);
    void setControlCaption(const ui::Control& control, std::string_view caption);
    void setControlColors(const ui::Control& control, std::uint32_t foreColor, std::uint32_t backColor);
    void setControlVisible(const ui::Control& control, bool visible);
    void setControlEnabled(const ui::Control& control, bool enabled);
    void setControlFontSize(const ui::Control& control, double points);
    void setControlPicture(const ui::Control& control, std::string_view name);
    // Erases and repaints a picture box now.
    void repaintControl(const ui::Control& control);

    // ---- menus ------------------------------------------------------------------
    // Shows a top-level entry's drop-down as a pop-up at the mouse position.
    void popupMenu(const ui::MenuItem& menu);
    // Redraws the menu bar if an apply changed it.
    void refreshMenuBar();

    // The model's rectangle of a control in its container, in this window's pixels.
    PixelRect modelRect(const ui::Control& control) const;
    // Applies every change of the model since the last call (all at first).
    // Menu entries too; the caller runs it (or syncMenus) before popupMenu.
    void syncFromModel();
    // Applies the changes of the menu entries only.
    void syncMenus();
    // Everything is applied again at the next sync (after a DPI change).
    void forgetControls();
    // The window has the model's size and place now (the user moved or
    // sized it): they are not applied again.
    void placeTaken() { formSync_.placeTaken(); }

    RECT outerRect() const;
    SIZE clientSize() const;
    // How wide `label`'s caption is in the font it asks for, made `share`
    // of its size, in pixels.
    int textWidth(const ui::Control& label, double share);

private:
    friend bool registerFormClass(HINSTANCE instance);
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void command(WPARAM wParam, LPARAM lParam);
    void sized(WPARAM kind, int width, int height);
    void dpiChangedTo(UINT dpi, const RECT* suggested);
    void formDoubleClicked(POINT at);

    void createControls();
    void stackControls();
    ControlWindow* recordOf(const ui::Control& control);
    const ControlWindow* recordOf(const ui::Control& control) const;
    void placeChildrenOf(const ControlWindow& frame);
    std::uint32_t behindColorOf(const ControlWindow& record) const;
    void useFont(ControlWindow& record);
    void showPicture(ControlWindow& record);
    void layOutAll();
    DWORD style() const;
    DWORD exStyle() const;
    SIZE outerSizeFor(int clientWidth, int clientHeight) const;
    void firstShow();
    void focusFirstControl();

    ui::FontGroups& fontGroups() { return options_.fontGroups ? *options_.fontGroups : ownFontGroups_; }

    template <typename Body>
    void emit(Body&& body) {
        if (!detached_) guardedCall(events_.failed, body);
    }

    ui::Form& form_;
    ui::FontGroups ownFontGroups_;  // before the controls, which report to it
    FormWindowOptions options_;
    FormWindowEvents events_;
    HWND window_ = nullptr;
    UINT dpi_ = kStandardDpi;
    FontCache fonts_;
    std::vector<ControlWindow> controls_;
    std::unique_ptr<MenuSet> menus_;
    std::unique_ptr<AcceleratorTable> accelerators_;
    int state_ = ui::kNormal;
    bool shownOnce_ = false;
    bool applying_ = false;  // our own moves and sizes are not events
    bool detached_ = false;

    // The form revision syncFromModel last applied.
    std::uint64_t revision_ = ~std::uint64_t{0};
    ui::FormSync formSync_;
    // The controls' changes, one per entry of controls_.
    std::vector<ui::ControlSync> controlSyncs_;
};

bool registerFormClass(HINSTANCE instance);

}  // namespace qx::win32ui
