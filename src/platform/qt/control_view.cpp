#include "platform/qt/control_view.h"

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
    : control_(control) {
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
    border_ = control.border;
}

QWidget* ControlView::childArea() const {
    if (auto* box = dynamic_cast<PictureBoxWidget*>(widget_)) return box->client();
    return widget_;
}

PictureClient* ControlView::pictureClient() const {
    if (auto* box = dynamic_cast<PictureBoxWidget*>(widget_)) return box->client();
    return nullptr;
}

QRect ControlView::targetGeometry() const {
    const PixelSpan x = twipsSpanToPixels(control_.leftTwips(), control_.widthTwips());
    const PixelSpan y = twipsSpanToPixels(control_.topTwips(), control_.heightTwips());
    return {x.start, y.start, x.length, y.length};
}

void ControlView::push() {
    if (control_.revision() == seen_) return;
    seen_ = control_.revision();

    const QRect geometry = targetGeometry();
    if (widget_->geometry() != geometry) widget_->setGeometry(geometry);
    if (widget_->isHidden() == control_.visible()) widget_->setVisible(control_.visible());
    if (widget_->testAttribute(Qt::WA_ForceDisabled) == control_.enabled()) {
        widget_->setEnabled(control_.enabled());
    }
    pushCaption();
    pushColors();

    if (auto* box = dynamic_cast<PictureBoxWidget*>(widget_)) {
        if (border_ != control_.border) {
            border_ = control_.border;
            box->setBorder(border_);
        }
        if (picture_ != control_.picture) {
            picture_ = control_.picture;
            box->client()->setPicture(picture_);
        }
    }
}

void ControlView::pushCaption() {
    if (control_.kind() == ui::Kind::PictureBox) return;
    if (captionShown_ && caption_ == control_.caption()) return;
    captionShown_ = true;
    caption_ = control_.caption();
    const QString text = QString::fromStdString(caption_);
    switch (control_.kind()) {
        case ui::Kind::Frame: static_cast<QGroupBox*>(widget_)->setTitle(text); break;
        case ui::Kind::Label: static_cast<LabelWidget*>(widget_)->showText(text); break;
        case ui::Kind::Button: static_cast<QPushButton*>(widget_)->setText(text); break;
        case ui::Kind::PictureBox: break;
    }
}

void ControlView::pushColors() {
    if (PictureClient* client = pictureClient()) {
        // Only the background shows; the pen colour is the paint handler's.
        if (colorsShown_ && backColor_ == control_.backColor()) return;
        colorsShown_ = true;
        backColor_ = control_.backColor();
        client->setBackground(toQColor(backColor_, client->palette()));
        return;
    }
    if (control_.kind() != ui::Kind::Label) return;  // frames and buttons keep the style's colours
    if (colorsShown_ && backColor_ == control_.backColor() && foreColor_ == control_.foreColor()) return;
    colorsShown_ = true;
    backColor_ = control_.backColor();
    foreColor_ = control_.foreColor();
    // A label in the default colours takes the look of what it lies on;
    // any other background is painted.
    auto* label = static_cast<LabelWidget*>(widget_);
    QPalette palette = label->parentWidget() ? label->parentWidget()->palette() : label->palette();
    const bool ownBackground = !control_.transparent && backColor_ != ui::kSysButtonFace;
    label->setBackground(ownBackground ? toQColor(backColor_, palette) : QColor());
    if (foreColor_ != ui::kSysButtonText) palette.setColor(QPalette::WindowText, toQColor(foreColor_, palette));
    label->setPalette(palette);
}

}  // namespace qx::qt
