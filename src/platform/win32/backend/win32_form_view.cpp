#include "platform/win32/backend/win32_form_view.h"

#include <algorithm>

#include "platform/win32/ui/win32_colors.h"
#include "platform/win32/utf16.h"

namespace qx::win32 {

FormView::FormView(ui::Form& form, win32ui::FormWindowOptions options, win32ui::FormWindowEvents events)
    : form_(form), window_(std::make_unique<win32ui::FormWindow>(form, std::move(options), std::move(events))) {}

FormView::~FormView() = default;

bool FormView::contains(const ui::MenuItem& item) const {
    const std::vector<ui::MenuItem*>& items = form_.allMenuItems();
    return std::find(items.begin(), items.end(), &item) != items.end();
}

void FormView::sync() {
    if (!window_->handle()) return;
    window_->syncFromModel();
    // The start-up window was centred when first shown: that is its place.
    if (!placedOnce_ && IsWindowVisible(window_->handle())) {
        placedOnce_ = true;
        recordPlace();
    }
}

void FormView::syncMenus() { window_->syncMenus(); }

void FormView::forgetControls() { window_->forgetControls(); }

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
    window_->placeTaken();
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
