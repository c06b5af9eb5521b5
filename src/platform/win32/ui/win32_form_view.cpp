#include "platform/win32/ui/win32_form_view.h"

#include <algorithm>

#include "platform/win32/ui/win32_colors.h"

namespace qx::win32ui {

FormView::FormView(ui::Form& form, ui::FormHost& host, win32ui::MessageLoop& loop,
                   win32ui::FormWindowOptions options, win32ui::FailureHandler failed, bool startup)
    : form_(form), loop_(loop), startup_(startup) {
    options.fontGroups = &host.fontGroups();
    window_ = std::make_unique<win32ui::FormWindow>(form, std::move(options), eventsFor(host, std::move(failed)));
    if (!handle()) return;
    if (startup) {
        loop_.setAccelerators(handle(), window_->accelerators());
    } else {
        // Tab, Enter and Esc as in a dialog.
        loop_.addDialogWindow(handle());
    }
}

FormView::~FormView() = default;

win32ui::FormWindowEvents FormView::eventsFor(ui::FormHost& host, win32ui::FailureHandler failed) {
    ui::Form& f = form_;
    win32ui::FormWindowEvents events;
    events.menuChosen = [&host, &f](ui::MenuItem& item) { host.chooseMenu(f, item); };
    events.buttonClicked = [&host, &f](ui::Control& button) { host.clickButton(f, button); };
    events.doubleClicked = [&host, &f](ui::Control* control) { host.doubleClick(f, control); };
    events.paintBox = [&host, &f](ui::Control& box, ui::Canvas& canvas) { host.paintBox(f, box, canvas); };
    events.closeBox = [&host, &f] { host.closeBox(f); };
    events.clientResized = [this, &host, &f](int width, int height) {
        const double tpp = window_->twipsPerPixel();
        host.clientResized(f, width * tpp, height * tpp);
    };
    events.stateChanged = [&host, &f](int state) { host.stateChanged(f, state); };
    events.moved = [&host, &f] { host.moved(f); };
    events.dpiChanged = [this, &f](double twipsPerPixel) {
        f.setTwipsPerPixel(twipsPerPixel);
        window_->forgetControls();
    };
    events.key = [&host, &f](std::string_view key) { return host.key(f, key); };
    events.failed = std::move(failed);
    return events;
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

bool FormView::hasMenu(const ui::MenuItem& menu) const {
    const std::vector<ui::MenuItem*>& items = form_.allMenuItems();
    return std::find(items.begin(), items.end(), &menu) != items.end();
}

void FormView::popupMenu(const ui::MenuItem& menu, bool entriesOnly) {
    window_->syncMenus();
    if (!entriesOnly) window_->popupMenu(menu);
}

void FormView::detach() {
    window_->detach();
    if (HWND window = handle()) {
        loop_.removeDialogWindow(window);
        ShowWindow(window, SW_HIDE);
    }
    if (startup_) loop_.setAccelerators(nullptr, nullptr);
}

bool FormView::frameExtents(int& width, int& height) const {
    HWND window = handle();
    if (!window || !IsWindowVisible(window)) return false;
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int menuBar = GetMenu(window) ? GetSystemMetrics(SM_CYMENU) : 0;
    width = outer.right - outer.left - client.right;
    height = outer.bottom - outer.top - client.bottom - menuBar;
    return true;
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
    view.textWidth = [this](const ui::Control& label, double share) { return window_->textWidth(label, share); };
    view.rgb = [](std::uint32_t color) {
        const COLORREF c = win32ui::toColorRef(color);
        return static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    };
    return view;
}

}  // namespace qx::win32ui
