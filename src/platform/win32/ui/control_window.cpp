#include "platform/win32/ui/control_window.h"

namespace qx::win32ui {

bool createControlWindow(HINSTANCE instance, ControlWindow& record, ui::FontGroups& fontGroups,
                         const ChildStart& start) {
    const ui::Control& control = *record.control;
    switch (control.kind()) {
        case ui::Kind::Frame:
            record.handle =
                createChildWindow(0, L"BUTTON", WS_CLIPSIBLINGS | BS_GROUPBOX, start, record.parent, record.id, instance);
            break;
        case ui::Kind::Button:
            record.handle = createChildWindow(0, L"BUTTON", WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, start,
                                              record.parent, record.id, instance);
            break;
        case ui::Kind::Label: {
            record.label = std::make_unique<LabelState>();
            record.label->control = &control;
            record.label->groups = &fontGroups;
            LabelLook look;
            look.alignment = control.alignment;
            look.transparent = control.transparent;
            record.label->look = look;
            record.handle = createLabelWindow(instance, record.parent, *record.label, record.id, start);
            break;
        }
        case ui::Kind::PictureBox:
            record.box = std::make_unique<PictureBoxState>();
            record.handle = createPictureBoxWindow(instance, record.parent, *record.box, record.id, control.border, start);
            break;
    }
    return record.handle != nullptr;
}

PixelRect placeInParent(const ControlWindow& record) {
    PixelRect rect = record.inContainer;
    for (const ControlWindow* frame = record.frame; frame; frame = frame->frame) {
        rect.left += frame->inContainer.left;
        rect.top += frame->inContainer.top;
    }
    return rect;
}

}  // namespace qx::win32ui
