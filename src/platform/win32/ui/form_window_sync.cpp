// Model to window: what the shared change tracking reports since the last
// sync, applied through the window's apply functions.
#include "platform/win32/ui/form_window.h"

#include <string>

#include "platform/runtime/numbers.h"
#include "platform/win32/utf16.h"

namespace qx::win32ui {

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

}  // namespace qx::win32ui
