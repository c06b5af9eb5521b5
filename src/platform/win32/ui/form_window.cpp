// The window itself: made with its controls and menus, and the apply
// functions of its caption, size, place, state and visibility.
#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/window_class.h"

#include <string>

#include "platform/win32/utf16.h"

namespace qx::win32ui {

namespace {

// Sets a flag for as long as it lives.
class Applying {
public:
    explicit Applying(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~Applying() { flag_ = old_; }
    Applying(const Applying&) = delete;
    Applying& operator=(const Applying&) = delete;

private:
    bool& flag_;
    bool old_;
};

int showCommand(int state) {
    switch (state) {
        case ui::kMinimized: return SW_MINIMIZE;
        case ui::kMaximized: return SW_MAXIMIZE;
        default: return SW_RESTORE;
    }
}

}  // namespace

bool registerFormClass(HINSTANCE instance) {
    return ensureWindowClass(instance, kFormClass, &FormWindow::proc,
                             {.doubleClicks = true,
                              .arrowCursor = true,
                              .background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1))});
}

FormWindow::FormWindow(ui::Form& form, FormWindowOptions options, FormWindowEvents events)
    : form_(form),
      options_(std::move(options)),
      events_(std::move(events)),
      formSync_(form, options_.centreOnScreen) {
    HINSTANCE instance = options_.instance;
    if (!registerFormClass(instance) || !registerLabelClass(instance) || !registerPictureBoxClass(instance)) return;
    dpi_ = windowDpi(nullptr);
    if (!form.menus().empty()) {
        menus_ = std::make_unique<MenuSet>(form);
        accelerators_ = std::make_unique<AcceleratorTable>(form, *menus_);
    }
    HWND owner = form.showInTaskbar ? nullptr : options_.owner;
    const std::wstring caption = win32::toUtf16ForDisplay(form.caption());
    window_ = CreateWindowExW(exStyle(), kFormClass, caption.c_str(), style(), CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                              owner, menus_ ? menus_->bar() : nullptr, instance, this);
    if (!window_) return;
    dpi_ = windowDpi(window_);
    if (options_.icon && !form.icon.empty()) {
        if (HICON big = options_.icon(form.icon, GetSystemMetrics(SM_CXICON))) {
            SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        }
        if (HICON small = options_.icon(form.icon, GetSystemMetrics(SM_CXSMICON))) {
            SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        }
    }
    createControls();
    stackControls();
    syncFromModel();
}

FormWindow::~FormWindow() {
    if (!window_) return;
    // No event reaches the model while the window goes, and the menus are
    // the set's to destroy.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    SetMenu(window_, nullptr);
    DestroyWindow(window_);
}

void FormWindow::detach() {
    detached_ = true;
    if (window_) ShowWindow(window_, SW_HIDE);
}

DWORD FormWindow::style() const {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (form_.sizable) style |= WS_THICKFRAME;
    if (form_.minButton) style |= WS_MINIMIZEBOX;
    if (form_.maxButton) style |= WS_MAXIMIZEBOX;
    return style;
}

DWORD FormWindow::exStyle() const { return form_.showInTaskbar ? WS_EX_APPWINDOW : WS_EX_DLGMODALFRAME; }

// ---- the window ---------------------------------------------------------------------

SIZE FormWindow::outerSizeFor(int clientWidth, int clientHeight) const {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style(), menus_ && menus_->bar() ? TRUE : FALSE, exStyle());
    return {r.right - r.left, r.bottom - r.top};
}

void FormWindow::setCaption(std::string_view caption) {
    SetWindowTextW(window_, win32::toUtf16ForDisplay(caption).c_str());
}

void FormWindow::setClientSize(int w, int h) {
    Applying applying(applying_);
    const SIZE outer = outerSizeFor(w, h);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame may differ from what AdjustWindowRectEx said (a wrapped
    // menu bar, another DPI): correct by what the client really got.
    RECT client;
    GetClientRect(window_, &client);
    if (client.right != w || client.bottom != h) {
        SetWindowPos(window_, nullptr, 0, 0, outer.cx + w - client.right, outer.cy + h - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::setPosition(int left, int top) {
    Applying applying(applying_);
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::setEnabled(bool enabled) { EnableWindow(window_, enabled ? TRUE : FALSE); }

void FormWindow::setWindowState(int state) {
    state_ = state;
    if (!IsWindowVisible(window_)) return;  // taken when shown
    Applying applying(applying_);
    ShowWindow(window_, showCommand(state));
}

void FormWindow::setVisible(bool visible) {
    if (!visible) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    if (IsWindowVisible(window_)) return;
    if (!shownOnce_) {
        firstShow();
        return;
    }
    Applying applying(applying_);
    // A window hidden while minimized is still minimized: SW_SHOW would
    // bring it back as an icon, so it is shown in the state the model asks for.
    ShowWindow(window_, state_ == ui::kMinimized   ? SW_SHOWMINIMIZED
                        : state_ == ui::kMaximized ? SW_SHOWMAXIMIZED
                                                   : SW_SHOWNORMAL);
}

void FormWindow::firstShow() {
    shownOnce_ = true;
    Applying applying(applying_);
    if (options_.centreOnScreen) {
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        const RECT outer = outerRect();
        const int width = outer.right - outer.left;
        const int height = outer.bottom - outer.top;
        SetWindowPos(window_, nullptr, area.left + (area.right - area.left - width) / 2,
                     area.top + (area.bottom - area.top - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(window_, state_ == ui::kNormal ? SW_SHOW : showCommand(state_));
    if (!options_.centreOnScreen) SetForegroundWindow(window_);
    focusFirstControl();
}

void FormWindow::focusFirstControl() {
    // The control that takes the keyboard first: the visible, enabled one
    // with the lowest tab index (labels, frames and picture boxes never do).
    const ControlWindow* first = nullptr;
    for (const ControlWindow& c : controls_) {
        if (c.control->kind() != ui::Kind::Button || !c.handle || !c.control->visible() || !c.control->enabled()) {
            continue;
        }
        if (!first || c.control->tabIndex < first->control->tabIndex) first = &c;
    }
    if (first) SetFocus(first->handle);
}

RECT FormWindow::outerRect() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return r;
}

int FormWindow::textWidth(const ui::Control& label, double share) {
    HFONT normal = fonts_.font(label.fontSize > 0 ? label.fontSize : kDefaultFontPoints, dpi_, label.fontBold);
    OwnedFont smaller;
    if (normal && share < 1.0) smaller.reset(createShrunkFont(normal, share));
    HFONT font = smaller.get() ? smaller.get() : normal;
    HDC screen = GetDC(nullptr);
    if (!font || !screen) {
        if (screen) ReleaseDC(nullptr, screen);
        return -1;
    }
    HGDIOBJ old = SelectObject(screen, font);
    const std::wstring text = win32::toUtf16ForDisplay(label.caption());
    SIZE size{};
    const bool measured = GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return measured ? size.cx : -1;
}

SIZE FormWindow::clientSize() const {
    RECT r{};
    GetClientRect(window_, &r);
    return {r.right, r.bottom};
}

}  // namespace qx::win32ui
