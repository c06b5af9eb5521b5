// One model control and the widget that shows it. push() applies what the
// shared change tracking reports as changed since the last push.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/qt/control_events.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/label_widget.h"
#include "platform/ui/view_sync.h"

namespace qx::qt {

class ControlView final : private ui::ControlChanges {
public:
    // Creates the widget inside `parent` (the container's child area).
    ControlView(ui::Control& control, ControlEvents& events, QWidget* parent);
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    ui::Control& control() const { return control_; }
    // The widget placed in the container.
    QWidget* widget() const { return widget_; }
    // Where the control's own child controls go.
    QWidget* childArea() const;
    // The erased-and-painted area of a picture box (nullptr for other kinds).
    PictureClient* pictureClient() const;

    void push();

private:
    // ui::ControlChanges
    void setGeometry(const ui::PixelRect& rect) override;
    void setVisible(bool visible) override;
    void setEnabled(bool enabled) override;
    void setCaption(const std::string& caption) override;
    void setBackColor(std::uint32_t color) override;
    void setForeColor(std::uint32_t color) override;
    void setBorder(bool border) override;
    void setPicture(const std::string& name) override;
    void setAccessible(const std::string& name, const std::string& description, double value) override;
    void applyColors();

    ui::Control& control_;
    QWidget* widget_ = nullptr;
    ui::ControlSync sync_;
};

}  // namespace qx::qt
