// One model control and the widget that shows it. push() copies what has
// changed since the last push; an unchanged control costs one comparison.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/qt/control_events.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/label_widget.h"

namespace qx::qt {

class ControlView {
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
    // The position and size the widget should have, in its parent's pixels.
    QRect targetGeometry() const;

private:
    void pushColors();
    void pushCaption();

    ui::Control& control_;
    QWidget* widget_ = nullptr;
    std::uint64_t seen_ = ~std::uint64_t{0};
    std::string caption_;
    bool captionShown_ = false;
    std::uint32_t backColor_ = 0;
    std::uint32_t foreColor_ = 0;
    bool colorsShown_ = false;
    std::string picture_;
    bool border_ = false;
};

}  // namespace qx::qt
