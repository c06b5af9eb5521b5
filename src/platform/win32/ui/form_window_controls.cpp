// The window's controls: one child window each, placed, coloured and
// lettered from the model, and the menu bar.
#include "platform/win32/ui/form_window.h"

#include <algorithm>
#include <string>

#include "platform/ui/stacking.h"
#include "platform/win32/ui/control_apply.h"
#include "platform/win32/ui/popup_menu.h"
#include "platform/win32/utf16.h"

namespace qx::win32ui {

namespace {

constexpr int kFirstControlId = 100;

}  // namespace

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
        // Made where the model puts it, shown or not, and with its caption
        // (a picture box's text is its name for screen readers, set later).
        ui::ControlAtCreation initial = controlSyncs_.back().creation(twipsPerPixel());
        made.inContainer = initial.geometry;
        ChildStart start{placeInParent(made), initial.visible, {}};
        if (control->kind() != ui::Kind::PictureBox) start.text = win32::toUtf16ForDisplay(initial.caption);
        if (!createControlWindow(options_.instance, made, fontGroups(), start)) continue;
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

}  // namespace qx::win32ui
