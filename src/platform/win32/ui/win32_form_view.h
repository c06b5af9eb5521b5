// One loaded form on Windows: its toolkit window (win32ui::FormWindow),
// which applies what changed in the model through the shared change
// tracking, its events passed to the shared form host, and the window's
// place written back into the model.
#pragma once

#include <memory>

#include "platform/ui/form_host.h"
#include "platform/ui/native_form.h"
#include "platform/win32/ui/form_window.h"
#include "platform/win32/ui/message_loop.h"

namespace qx::win32ui {

class FormView final : public ui::NativeForm {
public:
    FormView(ui::Form& form, ui::FormHost& host, win32ui::MessageLoop& loop, win32ui::FormWindowOptions options,
             win32ui::FailureHandler failed, bool startup);
    ~FormView() override;
    FormView(const FormView&) = delete;
    FormView& operator=(const FormView&) = delete;

    win32ui::FormWindow& window() { return *window_; }
    HWND handle() const { return window_->handle(); }

    // ui::NativeForm
    void sync() override;
    void repaintBox(const ui::Control& box) override { window_->repaintControl(box); }
    bool hasMenu(const ui::MenuItem& menu) const override;
    void popupMenu(const ui::MenuItem& menu, bool entriesOnly) override;
    void detach() override;
    bool frameExtents(int& width, int& height) const override;
    void recordPlace() override;
    ui::ScreenView screenView() const override;

private:
    win32ui::FormWindowEvents eventsFor(ui::FormHost& host, win32ui::FailureHandler failed);

    ui::Form& form_;
    win32ui::MessageLoop& loop_;
    bool startup_;
    std::unique_ptr<win32ui::FormWindow> window_;
    bool placedOnce_ = false;
};

}  // namespace qx::win32ui
