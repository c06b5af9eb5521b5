#include "platform/win32/backend/win32_form_view.h"

#include <cmath>
#include <string>

#include "platform/win32/ui/win32_colors.h"
#include "platform/win32/utf16.h"

namespace qx::win32 {

// One control's changes applied to its child window.
struct FormView::ControlEntry final : ui::ControlChanges {
    ControlEntry(win32ui::FormWindow& window, const ui::Control& control)
        : window(window), control(control), sync(control) {}

    void setGeometry(const ui::PixelRect& rect) override {
        window.setControlGeometry(control, {rect.left, rect.top, rect.width, rect.height});
    }
    void setVisible(bool visible) override { window.setControlVisible(control, visible); }
    void setEnabled(bool enabled) override { window.setControlEnabled(control, enabled); }
    void setCaption(const std::string& caption) override { window.setControlCaption(control, caption); }
    void setBackColor(std::uint32_t color) override {
        back = color;
        window.setControlColors(control, fore, back);
    }
    void setForeColor(std::uint32_t color) override {
        fore = color;
        window.setControlColors(control, fore, back);
    }
    // The sunken edge is made with the window; the program never changes it.
    void setBorder(bool) override {}
    void setPicture(const std::string& name) override { window.setControlPicture(control, name); }
    // A screen reader names a window by its text. A picture box draws none,
    // so a bar's text is its name and free share, the graph's its name and
    // latest figures. (A label draws its text: it stays the figure alone.)
    void setAccessible(const std::string& name, const std::string& description, double value) override {
        if (control.kind() != ui::Kind::PictureBox || name.empty()) return;
        std::string text = name;
        if (value >= 0) text.append(": ").append(std::to_string(std::lround(value))).append(" %");
        if (!description.empty()) text.append(", ").append(description);
        std::wstring wide;
        if (HWND box = window.controlHandle(control); box && toUtf16(text, wide)) SetWindowTextW(box, wide.c_str());
    }

    win32ui::FormWindow& window;
    const ui::Control& control;
    ui::ControlSync sync;
    std::uint32_t fore = control.foreColor();
    std::uint32_t back = control.backColor();
};

// One menu entry's changes applied to its HMENU item.
struct FormView::MenuEntry final : ui::MenuChanges {
    MenuEntry(win32ui::MenuSet& menus, const ui::MenuItem& item) : menus(menus), item(item), sync(item) {}

    void setCaption(const std::string& caption) override { menus.setCaption(item, caption); }
    void setChecked(bool checked) override { menus.setChecked(item, checked); }
    void setEnabled(bool enabled) override { menus.setEnabled(item, enabled); }
    void setVisible(bool visible) override { menus.setVisible(item, visible); }

    win32ui::MenuSet& menus;
    const ui::MenuItem& item;
    ui::MenuSync sync;
};

FormView::FormView(ui::Form& form, win32ui::FormWindowOptions options, win32ui::FormWindowEvents events)
    : form_(form),
      centred_(options.centreOnScreen),
      window_(std::make_unique<win32ui::FormWindow>(form, std::move(options), std::move(events))) {
    if (!window_->handle()) return;
    for (ui::Control* control : form.controls()) {
        controls_.push_back(std::make_unique<ControlEntry>(*window_, *control));
    }
    if (win32ui::MenuSet* set = window_->menus()) {
        for (ui::MenuItem* item : form.allMenuItems()) menus_.push_back(std::make_unique<MenuEntry>(*set, *item));
    }
    // The toolkit window applied the whole model once when it was made.
    seen_.captioned = true;
    seen_.caption = form.caption();
    seen_.clientWidth = form.scaleWidth();
    seen_.clientHeight = form.scaleHeight();
}

FormView::~FormView() = default;

bool FormView::contains(const ui::MenuItem& item) const {
    for (const auto& entry : menus_) {
        if (&entry->item == &item) return true;
    }
    return false;
}

void FormView::sync() {
    if (!window_->handle() || form_.revision() == revision_) return;
    revision_ = form_.revision();
    const double twipsPerPixel = window_->twipsPerPixel();
    for (auto& entry : controls_) entry->sync.sync(*entry, twipsPerPixel);
    syncMenus();
    syncWindow();
}

void FormView::syncMenus() {
    for (auto& entry : menus_) entry->sync.sync(*entry);
    window_->refreshMenuBar();
}

void FormView::forgetControls() {
    for (auto& entry : controls_) entry->sync.forget();
    revision_ = ~std::uint64_t{0};
}

void FormView::syncWindow() {
    win32ui::FormWindow& w = *window_;
    if (!seen_.captioned || seen_.caption != form_.caption()) {
        seen_.captioned = true;
        seen_.caption = form_.caption();
        w.setCaption(seen_.caption);
    }
    if (seen_.clientWidth != form_.scaleWidth() || seen_.clientHeight != form_.scaleHeight()) {
        seen_.clientWidth = form_.scaleWidth();
        seen_.clientHeight = form_.scaleHeight();
        w.setClientSizeTwips(seen_.clientWidth, seen_.clientHeight);
    }
    // The start-up window is centred by the toolkit window when it is first
    // shown; from then on (and for other windows at once) it takes the
    // model's place.
    if ((seen_.placedOnce || !centred_) && (seen_.left != form_.left() || seen_.top != form_.top())) {
        seen_.left = form_.left();
        seen_.top = form_.top();
        w.setPositionTwips(seen_.left, seen_.top);
    }
    if ((IsWindowEnabled(w.handle()) != FALSE) != form_.enabled()) w.setEnabled(form_.enabled());
    if (seen_.state != form_.windowState()) {
        seen_.state = form_.windowState();
        w.setWindowState(seen_.state);
    }
    if ((IsWindowVisible(w.handle()) != FALSE) != form_.visible()) w.setVisible(form_.visible());
    if (IsWindowVisible(w.handle()) && !seen_.placedOnce) {
        seen_.placedOnce = true;
        recordPlace();
    }
}

void FormView::recordPlace() {
    HWND handle = window_->handle();
    if (!IsWindowVisible(handle) || IsIconic(handle)) return;
    const double tpp = window_->twipsPerPixel();
    const RECT outer = window_->outerRect();
    const SIZE client = window_->clientSize();
    const double width = (outer.right - outer.left) * tpp;
    const double height = (outer.bottom - outer.top) * tpp;
    form_.setFrameExtents(width - client.cx * tpp, height - client.cy * tpp);
    form_.setBounds(outer.left * tpp, outer.top * tpp, width, height);
    seen_.left = form_.left();
    seen_.top = form_.top();
    seen_.clientWidth = form_.scaleWidth();
    seen_.clientHeight = form_.scaleHeight();
    revision_ = form_.revision();
}

ui::ScreenView FormView::screenView() const {
    ui::ScreenView view;
    HWND handle = window_->handle();
    view.shown = IsWindowVisible(handle) && !IsIconic(handle);
    POINT corner{0, 0};
    ClientToScreen(handle, &corner);
    view.clientLeft = corner.x;
    view.clientTop = corner.y;
    view.twipsPerPixel = window_->twipsPerPixel();
    const RECT outer = window_->outerRect();
    view.outerLeft = outer.left;
    view.outerTop = outer.top;
    view.outerWidth = outer.right - outer.left;
    view.outerHeight = outer.bottom - outer.top;
    view.textWidth = [this](const ui::Control& label) { return window_->textWidth(label); };
    view.rgb = [](std::uint32_t color) {
        const COLORREF c = win32ui::toColorRef(color);
        return static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    };
    return view;
}

}  // namespace qx::win32
