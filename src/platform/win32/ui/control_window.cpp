#include "platform/win32/ui/control_window.h"

namespace qx::win32ui {

bool createControlWindow(HINSTANCE instance, ControlWindow& record, ui::FontGroups& fontGroups) {
    const ui::Control& control = *record.control;
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(record.id));
    switch (control.kind()) {
        case ui::Kind::Frame:
            record.handle = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, 0, 0,
                                            record.parent, id, instance, nullptr);
            break;
        case ui::Kind::Button:
            record.handle = CreateWindowExW(0, L"BUTTON", L"",
                                            WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                                            0, record.parent, id, instance, nullptr);
            break;
        case ui::Kind::Label: {
            record.label = std::make_unique<LabelState>();
            record.label->control = &control;
            record.label->groups = &fontGroups;
            LabelLook look;
            look.alignment = control.alignment;
            look.transparent = control.transparent;
            record.label->look = look;
            record.handle = createLabelWindow(instance, record.parent, *record.label, record.id);
            break;
        }
        case ui::Kind::PictureBox:
            record.box = std::make_unique<PictureBoxState>();
            record.handle = createPictureBoxWindow(instance, record.parent, *record.box, record.id, control.border);
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
