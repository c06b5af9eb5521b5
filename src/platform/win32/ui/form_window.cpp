#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/window_class.h"

#include <algorithm>
#include <string>

#include "platform/win32/ui/child_messages.h"
#include "platform/win32/ui/control_apply.h"
#include "platform/runtime/numbers.h"
#include "platform/win32/ui/popup_menu.h"
#include "platform/ui/stacking.h"
#include "platform/win32/utf16.h"

namespace qx::win32ui {

namespace {

constexpr int kFirstControlId = 100;

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

// ---- controls ----------------------------------------------------------------------

void FormWindow::createControls() {
    controls_.reserve(form_.controls().size());
    controlSyncs_.reserve(form_.controls().size());
    for (ui::Control* control : form_.controls()) {
        ControlWindow record;
        record.control = control;
        record.id = kFirstControlId + static_cast<int>(controls_.size());
        record.parent = window_;
        // A frame's controls are its siblings, placed from the frame's
        // corner; a picture box holds its own.
        if (const ui::Control* container = control->container()) {
            if (const ControlWindow* holder = recordOf(*container)) {
                if (container->kind() == ui::Kind::Frame) {
                    record.frame = holder;
                    record.parent = holder->parent;
                } else {
                    record.parent = holder->handle;
                }
            }
        }
        if (control->fontSize > 0) record.fontPoints = control->fontSize;
        record.fontBold = control->fontBold;
        controls_.push_back(std::move(record));
        controlSyncs_.emplace_back(*control);
        ControlWindow& made = controls_.back();
        if (!createControlWindow(options_.instance, made, fontGroups())) continue;
        if (made.box) {
            ui::Control* box = control;
            made.box->paint = [this, box](ui::Canvas& canvas) {
                if (!detached_ && events_.paintBox) events_.paintBox(*box, canvas);
            };
            made.box->failed = events_.failed;
        }
        useFont(made);
    }
}

void FormWindow::stackControls() {
    // Put on top bottom to top, each comes to lie above those before it.
    for (const ui::Control* control : ui::StackingOrder(form_)) {
        if (HWND handle = controlHandle(*control)) applyOnTop(handle);
    }
}

ControlWindow* FormWindow::recordOf(const ui::Control& control) {
    for (ControlWindow& c : controls_) {
        if (c.control == &control) return &c;
    }
    return nullptr;
}

const ControlWindow* FormWindow::recordOf(const ui::Control& control) const {
    for (const ControlWindow& c : controls_) {
        if (c.control == &control) return &c;
    }
    return nullptr;
}

HWND FormWindow::controlHandle(const ui::Control& control) const {
    const ControlWindow* c = recordOf(control);
    return c ? c->handle : nullptr;
}

const ui::Control* FormWindow::controlOf(HWND handle) const {
    for (const ControlWindow& c : controls_) {
        if (c.handle == handle) return c.control;
    }
    return nullptr;
}

PixelRect FormWindow::modelRect(const ui::Control& control) const {
    return twipsRectToPixels(control.leftTwips(), control.topTwips(), control.widthTwips(), control.heightTwips(),
                             twipsPerPixel());
}

void FormWindow::setControlGeometry(const ui::Control& control, const PixelRect& rect) {
    ControlWindow* c = recordOf(control);
    if (!c || !c->handle) return;
    c->inContainer = rect;
    applyGeometry(c->handle, placeInParent(*c));
    if (control.kind() == ui::Kind::Frame) placeChildrenOf(*c);
    if (c->box && !c->picture.empty()) showPicture(*c);
}

void FormWindow::placeChildrenOf(const ControlWindow& frame) {
    for (const ControlWindow& c : controls_) {
        if (c.frame != &frame || !c.handle) continue;
        applyGeometry(c.handle, placeInParent(c));
        if (c.control->kind() == ui::Kind::Frame) placeChildrenOf(c);
    }
}

void FormWindow::setControlCaption(const ui::Control& control, std::string_view caption) {
    if (HWND handle = controlHandle(control); handle && control.kind() != ui::Kind::PictureBox) {
        applyCaption(handle, caption);
    }
}

std::uint32_t FormWindow::behindColorOf(const ControlWindow& record) const {
    const ui::Control* container = record.control->container();
    if (container && container->kind() == ui::Kind::PictureBox) {
        if (const ControlWindow* box = recordOf(*container); box && box->box) return box->box->backColor;
    }
    return ui::kSysButtonFace;
}

void FormWindow::setControlColors(const ui::Control& control, std::uint32_t foreColor, std::uint32_t backColor) {
    ControlWindow* c = recordOf(control);
    if (!c || !c->handle) return;
    if (c->label) {
        applyLabelColors(c->handle, foreColor, backColor, behindColorOf(*c));
    } else if (c->box) {
        // Only the background shows; the pen colour is the paint handler's.
        applyPictureBoxBackground(c->handle, backColor);
        for (const ControlWindow& inside : controls_) {
            if (inside.label && inside.control->container() == &control) {
                applyLabelColors(inside.handle, inside.label->look.foreColor, inside.label->look.backColor,
                                 backColor);
            }
        }
    }
    // Frames and buttons keep the system's colours.
}

void FormWindow::setControlVisible(const ui::Control& control, bool visible) {
    if (HWND handle = controlHandle(control)) applyVisible(handle, visible);
}

void FormWindow::setControlEnabled(const ui::Control& control, bool enabled) {
    if (HWND handle = controlHandle(control)) applyEnabled(handle, enabled);
}

void FormWindow::useFont(ControlWindow& record) {
    if (!record.handle || record.box) return;
    if (HFONT font = fonts_.font(record.fontPoints, dpi_, record.fontBold)) win32ui::applyFont(record.handle, font);
}

void FormWindow::setControlFontSize(const ui::Control& control, double points) {
    ControlWindow* c = recordOf(control);
    if (!c || points <= 0) return;
    c->fontPoints = points;
    useFont(*c);
}

void FormWindow::showPicture(ControlWindow& record) {
    if (!record.box || !record.handle) return;
    // The picture fills its box (the shorter side of it) at every DPI.
    RECT client{};
    GetClientRect(record.handle, &client);
    const int size = std::min(client.right, client.bottom);
    HICON icon = record.picture.empty() || !options_.icon || size <= 0 ? nullptr : options_.icon(record.picture, size);
    applyPicture(record.handle, icon, size);
}

void FormWindow::setControlPicture(const ui::Control& control, std::string_view name) {
    ControlWindow* c = recordOf(control);
    if (!c) return;
    c->picture.assign(name);
    showPicture(*c);
}

void FormWindow::repaintControl(const ui::Control& control) {
    if (HWND handle = controlHandle(control)) repaintPictureBox(handle);
}

void FormWindow::layOutAll() {
    for (ControlWindow& c : controls_) {
        setControlGeometry(*c.control, modelRect(*c.control));
        useFont(c);
        showPicture(c);
    }
}

// ---- menus ----------------------------------------------------------------------------

void FormWindow::popupMenu(const ui::MenuItem& menu) {
    if (!menus_) return;
    showPopupMenu(window_, menus_->menuOf(menu));
}

void FormWindow::refreshMenuBar() {
    if (menus_ && menus_->takeBarChanged()) DrawMenuBar(window_);
}

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

// ---- model to window ----------------------------------------------------------------

namespace {

// One control's changes, as the shared tracking reports them, applied
// through the window's apply functions. Colours are applied together once
// the control's changes are all in.
struct ControlChangesToWindow final : ui::ControlChanges {
    ControlChangesToWindow(FormWindow& window, const ui::Control& control) : window(window), control(control) {}
    void setGeometry(const PixelRect& rect) override { window.setControlGeometry(control, rect); }
    void setVisible(bool visible) override { window.setControlVisible(control, visible); }
    void setEnabled(bool enabled) override { window.setControlEnabled(control, enabled); }
    void setCaption(const std::string& caption) override { window.setControlCaption(control, caption); }
    void setBackColor(std::uint32_t) override { recolor = true; }
    void setForeColor(std::uint32_t) override { recolor = true; }
    // The sunken edge is made with the window.
    void setBorder(bool) override {}
    void setPicture(const std::string& name) override { window.setControlPicture(control, name); }
    // A screen reader names a window by its text. A picture box draws none,
    // so a bar's text is its name and free share, the graph's its name and
    // latest figures. (A label draws its text: it stays the figure alone.)
    void setAccessible(const std::string& name, const std::string& description, double value) override {
        if (control.kind() != ui::Kind::PictureBox || name.empty()) return;
        std::string text = name;
        if (value >= 0) {
            text.append(": ").append(std::to_string(static_cast<long long>(RoundHalfEven(value)))).append(" %");
        }
        if (!description.empty()) text.append(", ").append(description);
        std::wstring wide;
        if (HWND box = window.controlHandle(control); box && win32::toUtf16(text, wide)) {
            SetWindowTextW(box, wide.c_str());
        }
    }
    FormWindow& window;
    const ui::Control& control;
    bool recolor = false;
};

// The window's own changes applied through its apply functions.
struct FormChangesToWindow final : ui::FormChanges {
    explicit FormChangesToWindow(FormWindow& window) : window(window) {}
    void setCaption(const std::string& caption) override { window.setCaption(caption); }
    void setClientSize(int width, int height) override { window.setClientSize(width, height); }
    void setPosition(int left, int top) override { window.setPosition(left, top); }
    void setEnabled(bool enabled) override { window.setEnabled(enabled); }
    void setWindowState(int state) override { window.setWindowState(state); }
    void setVisible(bool visible) override { window.setVisible(visible); }
    FormWindow& window;
};

}  // namespace

void FormWindow::syncFromModel() {
    if (!window_ || form_.revision() == revision_) return;
    revision_ = form_.revision();

    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const ui::Control& control = *controls_[i].control;
        if (!controls_[i].handle) continue;
        ControlChangesToWindow changes(*this, control);
        controlSyncs_[i].sync(changes, twipsPerPixel());
        if (changes.recolor) setControlColors(control, control.foreColor(), control.backColor());
    }
    syncMenus();
    FormChangesToWindow changes(*this);
    formSync_.sync(changes, twipsPerPixel());
}

void FormWindow::syncMenus() {
    if (!menus_) return;
    menus_->syncFromModel();
    refreshMenuBar();
}

void FormWindow::forgetControls() {
    for (ui::ControlSync& sync : controlSyncs_) sync.forget();
    revision_ = ~std::uint64_t{0};
}

// ---- window to model ----------------------------------------------------------------

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
