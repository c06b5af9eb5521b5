// A label: one line of plain text at the top of its box, aligned left,
// right or centred, on its own background colour or on what lies below.
//
// The text is laid out once per change and drawn from that layout, since
// the figures change ten times a second. A text wider than the label is
// laid out in a smaller font, down to three quarters of the normal size,
// before it is cut off; labels of one size group all take the smallest size
// any of them needs (ui::FontGroups).
//
// A plain widget, not a QLabel: a QLabel that takes the focus, as these do
// for screen readers, keeps a whole text document behind its text, which
// is never used here. Screen readers read the text as a QLabel's.
#pragma once

#include <QColor>
#include <QFont>
#include <QStaticText>
#include <QString>
#include <QWidget>

#include "platform/qt/control_events.h"

namespace qx::qt {

class LabelWidget final : public ControlWidget<QWidget> {
public:
    LabelWidget(ui::Control& control, ControlEvents& events, QWidget* parent);
    ~LabelWidget() override;

    void showText(const QString& text);
    const QString& text() const { return text_; }
    void setAlignment(Qt::Alignment alignment);
    // A background of its own (an invalid colour: none). The label fills it
    // itself instead of being an opaque widget: the toolkit would cut an
    // opaque label out of what lies below, and every paint there, the
    // graph's included, would be clipped to a region with a hole.
    void setBackground(const QColor& color);

    // The font the text is shown in (the normal one unless it had to shrink).
    const QFont& shownFont() const { return shownFont_; }

    // `font` made `share` of its size.
    static QFont shrunk(const QFont& font, double share);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOut();
    // Lays the text out in the group's size.
    void applyScale();

    QFont normalFont_;
    QFont shownFont_;
    QFont preparedFont_;  // the font layout_ was last prepared with
    QString text_;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    QStaticText layout_;
    QColor background_;
};

}  // namespace qx::qt
