#include "platform/qt/control_view.h"

#include "platform/qt/accessible_controls.h"
#include "platform/qt/model_colors.h"
#include "platform/qt/twips.h"

namespace qx::qt {

namespace {

Qt::Alignment labelAlignment(ui::Alignment alignment) {
    switch (alignment) {
        case ui::Alignment::Right: return Qt::AlignRight | Qt::AlignTop;
        case ui::Alignment::Center: return Qt::AlignHCenter | Qt::AlignTop;
        default: return Qt::AlignLeft | Qt::AlignTop;
    }
}

}  // namespace

ControlView::ControlView(ui::Control& control, ControlEvents& events, QWidget* parent)
    : control_(control), sync_(control) {
    switch (control.kind()) {
        case ui::Kind::Frame: widget_ = new FrameWidget(control, events, parent); break;
        case ui::Kind::Label: {
            auto* label = new LabelWidget(control, events, parent);
            label->setAlignment(labelAlignment(control.alignment));
            widget_ = label;
            break;
        }
        case ui::Kind::Button: widget_ = new ButtonWidget(control, events, parent); break;
        case ui::Kind::PictureBox: widget_ = new PictureBoxWidget(control, events, parent); break;
    }
    widget_->setObjectName(QString::fromStdString(control.name()));
    // A named figure, bar or graph can be visited with Tab, so that a screen
    // reader reads it out.
    if (!control.accessibleName.empty() && widget_->focusPolicy() == Qt::NoFocus) {
        widget_->setFocusPolicy(Qt::TabFocus);
    }
    if (control.fontSize > 0 || control.fontBold) {
        QFont font = widget_->font();
        if (control.fontSize > 0) font.setPointSizeF(control.fontSize);
        font.setBold(control.fontBold);
        widget_->setFont(font);
    }
}

QWidget* ControlView::childArea() const {
    if (auto* box = dynamic_cast<PictureBoxWidget*>(widget_)) return box->client();
    return widget_;
}

PictureClient* ControlView::pictureClient() const {
    if (auto* box = dynamic_cast<PictureBoxWidget*>(widget_)) return box->client();
    return nullptr;
}

void ControlView::push() { sync_.sync(*this, kTwipsPerPixel); }

void ControlView::setGeometry(const ui::PixelRect& rect) {
    const QRect geometry(rect.left, rect.top, rect.width, rect.height);
    if (widget_->geometry() != geometry) widget_->setGeometry(geometry);
}

void ControlView::setVisible(bool visible) {
    if (widget_->isHidden() == visible) widget_->setVisible(visible);
}

void ControlView::setEnabled(bool enabled) {
    if (widget_->testAttribute(Qt::WA_ForceDisabled) == enabled) widget_->setEnabled(enabled);
}

void ControlView::setCaption(const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    switch (control_.kind()) {
        case ui::Kind::Frame: static_cast<QGroupBox*>(widget_)->setTitle(text); break;
        case ui::Kind::Label: static_cast<LabelWidget*>(widget_)->showText(text); break;
        case ui::Kind::Button: static_cast<QPushButton*>(widget_)->setText(text); break;
        case ui::Kind::PictureBox: break;
    }
}

void ControlView::setBackColor(std::uint32_t /*color*/) { applyColors(); }
void ControlView::setForeColor(std::uint32_t /*color*/) { applyColors(); }

void ControlView::setBorder(bool border) {
    if (auto* box = dynamic_cast<PictureBoxWidget*>(widget_)) box->setBorder(border);
}

void ControlView::setPicture(const std::string& name) {
    if (PictureClient* client = pictureClient()) client->setPicture(name);
}

void ControlView::setAccessible(const std::string& name, const std::string& description, double value) {
    // Setting them tells a screen reader of the change.
    const QString accessibleName = QString::fromStdString(name);
    if (widget_->accessibleName() != accessibleName) widget_->setAccessibleName(accessibleName);
    const QString accessibleDescription = QString::fromStdString(description);
    if (widget_->accessibleDescription() != accessibleDescription) widget_->setAccessibleDescription(accessibleDescription);
    setMeterValue(widget_, value);
}

void ControlView::applyColors() {
    if (PictureClient* client = pictureClient()) {
        // Only the background shows; the pen colour is the paint handler's.
        client->setBackground(toQColor(control_.backColor(), client->palette()));
        return;
    }
    if (control_.kind() != ui::Kind::Label) return;  // frames and buttons keep the style's colours
    // A label in the default colours takes the look of what it lies on;
    // any other background is painted.
    auto* label = static_cast<LabelWidget*>(widget_);
    QPalette palette = label->parentWidget() ? label->parentWidget()->palette() : label->palette();
    const std::uint32_t back = control_.backColor();
    const std::uint32_t fore = control_.foreColor();
    const bool ownBackground = !control_.transparent && back != ui::kSysButtonFace;
    label->setBackground(ownBackground ? toQColor(back, palette) : QColor());
    if (fore != ui::kSysButtonText) palette.setColor(QPalette::WindowText, toQColor(fore, palette));
    label->setPalette(palette);
}

}  // namespace qx::qt
