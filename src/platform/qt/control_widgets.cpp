#include "platform/qt/control_widgets.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QStyle>
#include <qdrawutil.h>

#include "platform/qt/icons.h"

namespace qx::qt {

// ---- frame -------------------------------------------------------------------

FrameWidget::FrameWidget(ui::Control& control, ControlEvents& events, QWidget* parent)
    : ControlWidget(control, events, parent) {
    // Frames are opaque: what lies below them in the window stays hidden.
    setAutoFillBackground(true);
}

void FrameWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int lineTop = metrics.height() / 2;
    qDrawShadeRect(&painter, QRect(0, lineTop, width(), height() - lineTop), palette(), true, 1, 0);
    if (title().isEmpty()) return;
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextSingleLine;
    constexpr int kTitleLeft = 6;
    constexpr int kTitlePadding = 2;
    const QRect room(kTitleLeft + kTitlePadding, 0, width() - 2 * (kTitleLeft + kTitlePadding), metrics.height());
    const QRect text = style()->itemTextRect(metrics, room, flags, isEnabled(), title());
    painter.fillRect(text.adjusted(-kTitlePadding, 0, kTitlePadding, 0), palette().window());
    style()->drawItemText(&painter, text, flags, palette(), isEnabled(), title(), QPalette::WindowText);
}

// ---- button ------------------------------------------------------------------

ButtonWidget::ButtonWidget(ui::Control& control, ControlEvents& events, QWidget* parent)
    : QPushButton(parent) {
    ui::Control* c = &control;
    ControlEvents* e = &events;
    connect(this, &QPushButton::clicked, this, [c, e] { e->buttonClicked(*c); });
}

// ---- picture box -------------------------------------------------------------

PictureClient::PictureClient(ui::Control& control, ControlEvents& events, QWidget* parent)
    : ControlWidget(control, events, parent) {
    // The paint covers every pixel: the toolkit need not erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureClient::setBackground(const QColor& color) {
    if (color == background_) return;
    background_ = color;
    update();
}

void PictureClient::setPicture(const std::string& name) {
    picture_ = iconNamed(name);
    update();
}

void PictureClient::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (!picture_.isNull()) {
        // The picture fills the box (the shorter side of it).
        const int side = std::min(width(), height());
        picture_.paint(&painter, QRect(0, 0, side, side), Qt::AlignLeft | Qt::AlignTop);
    }
    events_.paintControl(control_, painter, palette(), points_);
}

PictureBoxWidget::PictureBoxWidget(ui::Control& control, ControlEvents& events, QWidget* parent)
    : QFrame(parent), control_(control), client_(new PictureClient(control, events, this)) {
    setBorder(control.border);
}

void PictureBoxWidget::setBorder(bool border) {
    setFrameStyle(border ? (QFrame::WinPanel | QFrame::Sunken) : QFrame::NoFrame);
    placeClient();
}

void PictureBoxWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeClient();
}

void PictureBoxWidget::placeClient() {
    const QRect inside = contentsRect();
    if (client_->geometry() != inside) client_->setGeometry(inside);
}

// ---- client area -------------------------------------------------------------

ClientArea::ClientArea(ControlEvents& events, QWidget* parent) : QWidget(parent), events_(events) {}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    events_.doubleClicked(nullptr);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    events_.clientResized();
}

}  // namespace qx::qt
