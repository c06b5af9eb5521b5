// The widgets that show the model's controls: a frame is a group box drawn
// the classic way (an etched rectangle with the caption on its top line), a
// button a push button, and a picture box an outer frame
// (its optional 2-pixel sunken border) around a client area that is erased
// to the background colour, shows the picture, runs the paint handler and
// holds the box's child controls, clipped to it. Labels: label_widget.h.
#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/qt/control_events.h"

namespace qx::qt {

class FrameWidget final : public ControlWidget<QGroupBox> {
public:
    FrameWidget(ui::Control& control, ControlEvents& events, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class ButtonWidget final : public QPushButton {
public:
    ButtonWidget(ui::Control& control, ControlEvents& events, QWidget* parent);
};

class PictureClient final : public ControlWidget<QWidget> {
public:
    PictureClient(ui::Control& control, ControlEvents& events, QWidget* parent);

    void setBackground(const QColor& color);
    // The image by its model name ("" for none).
    void setPicture(const std::string& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_;
    QIcon picture_;
    std::vector<QPoint> points_;  // polyline scratch, kept between paints
};

class PictureBoxWidget final : public QFrame {
public:
    PictureBoxWidget(ui::Control& control, ControlEvents& events, QWidget* parent);

    PictureClient* client() const { return client_; }
    ui::Control& control() const { return control_; }
    void setBorder(bool border);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeClient();
    ui::Control& control_;
    PictureClient* client_;
};

// The client area of a window: the parent of its top-level controls.
class ClientArea final : public QWidget {
public:
    ClientArea(ControlEvents& events, QWidget* parent);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ControlEvents& events_;
};

}  // namespace qx::qt
