// One loaded form on Windows: its toolkit window (win32ui::FormWindow),
// which applies what changed in the model through the shared change
// tracking, and the window's place written back into the model.
#pragma once

#include <memory>

#include "platform/ui/model.h"
#include "platform/ui/view_sync.h"
#include "platform/ui/window_description.h"
#include "platform/win32/ui/form_window.h"

namespace qx::win32 {

class FormView {
public:
    FormView(ui::Form& form, win32ui::FormWindowOptions options, win32ui::FormWindowEvents events);
    ~FormView();
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    ui::Form& form() const { return form_; }
    win32ui::FormWindow& window() { return *window_; }
    const win32ui::FormWindow& window() const { return *window_; }
    HWND handle() const { return window_->handle(); }
    bool contains(const ui::MenuItem& item) const;

    // Applies every change of the form since the last sync.
    void sync();
    // Applies the changes of the menu entries only (before a pop-up opens).
    void syncMenus();
    // Everything is applied again at the next sync (after a DPI change).
    void forgetControls();

    // The user moved or sized the window: its outer rectangle goes to the
    // model as the place it has now, so the next sync leaves it there.
    void recordPlace();

    // Where the window is on the screen, for the window description.
    ui::ScreenView screenView() const;

private:
    ui::Form& form_;
    std::unique_ptr<win32ui::FormWindow> window_;
    bool placedOnce_ = false;
};

}  // namespace qx::win32
