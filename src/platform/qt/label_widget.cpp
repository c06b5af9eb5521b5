#include "platform/qt/label_widget.h"

#include <QAccessible>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/runtime/numbers.h"
#include "platform/ui/text_fit.h"

namespace qx::qt {

LabelWidget::LabelWidget(ui::Control& control, ControlEvents& events, QWidget* parent)
    : ControlWidget(control, events, parent), normalFont_(font()), shownFont_(font()) {
    layout_.setTextFormat(Qt::PlainText);  // "&" and "<" are shown as they are
    events_.fontGroups().join(control_, [this] { applyScale(); });
}

LabelWidget::~LabelWidget() { events_.fontGroups().leave(control_); }

void LabelWidget::showText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    layOut();
    // A label's name is its text unless it has a name of its own.
    if (QAccessible::isActive() && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void LabelWidget::setAlignment(Qt::Alignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    update();
}

void LabelWidget::setBackground(const QColor& color) {
    if (color == background_) return;
    background_ = color;
    update();
}

void LabelWidget::layOut() {
    layout_.setText(text_);
    layout_.prepare(QTransform(), normalFont_);
    preparedFont_ = normalFont_;
    events_.fontGroups().measured(control_, ui::FontScaleToFit(layout_.size().width(), width()));
    applyScale();
}

QFont LabelWidget::shrunk(const QFont& font, double share) {
    QFont smaller = font;
    if (font.pointSizeF() > 0) {
        smaller.setPointSizeF(font.pointSizeF() * share);
    } else {
        smaller.setPixelSize(std::max(1, static_cast<int>(RoundHalfEven(font.pixelSize() * share))));
    }
    return smaller;
}

void LabelWidget::applyScale() {
    const double share = events_.fontGroups().shownShare(control_);
    shownFont_ = share < 1.0 ? shrunk(normalFont_, share) : normalFont_;
    // Most labels show their text in the font just measured with: once is enough.
    if (shownFont_ != preparedFont_) {
        layout_.prepare(QTransform(), shownFont_);
        preparedFont_ = shownFont_;
    }
    update();
}

void LabelWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (background_.isValid()) painter.fillRect(rect(), background_);
    if (text_.isEmpty()) return;
    const double textWidth = layout_.size().width();
    double x = 0;
    if (alignment_ & Qt::AlignRight) x = width() - textWidth;
    if (alignment_ & Qt::AlignHCenter) x = (width() - textWidth) / 2;
    painter.setFont(shownFont_);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawStaticText(QPointF(x, 0), layout_);
}

void LabelWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        normalFont_ = font();
        layOut();
    }
}

void LabelWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

}  // namespace qx::qt
