// What the widgets of one window report to the window that owns them.
#pragma once

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPoint>
#include <vector>

#include "platform/ui/font_groups.h"
#include "platform/ui/model.h"

namespace qx::qt {

class ControlEvents {
public:
    virtual ~ControlEvents() = default;
    // A double-click on a control, or on the window's background (nullptr).
    virtual void doubleClicked(ui::Control* control) = 0;
    virtual void buttonClicked(ui::Control& button) = 0;
    // A picture box has been erased; its paint handler draws on `painter`.
    virtual void paintControl(ui::Control& box, QPainter& painter, const QPalette& palette,
                              std::vector<QPoint>& points) = 0;
    // The window's client area has a new size.
    virtual void clientResized() = 0;
    // Where labels learn the size they are drawn at.
    virtual ui::FontGroups& fontGroups() = 0;
};

// A widget that shows one control: its double-clicks are the control's.
template <typename Base>
class ControlWidget : public Base {
public:
    ControlWidget(ui::Control& control, ControlEvents& events, QWidget* parent)
        : Base(parent), control_(control), events_(events) {}
    ui::Control& control() const { return control_; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        events_.doubleClicked(&control_);
    }

    ui::Control& control_;
    ControlEvents& events_;
};

}  // namespace qx::qt
