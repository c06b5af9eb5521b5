#include "platform/qt/accessible_controls.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "platform/qt/control_widgets.h"
#include "platform/qt/label_widget.h"

namespace qx::qt {

namespace {

constexpr const char* kValueProperty = "qxMeterValue";

// A container whose children are read top to bottom, each row left to right.
class ReadingOrder final : public QAccessibleWidget {
public:
    ReadingOrder(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QWidget*> list = children();
        if (index < 0 || index >= static_cast<int>(list.size())) return nullptr;
        return QAccessible::queryAccessibleInterface(list[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QWidget*> list = children();
        const auto at = std::find(list.begin(), list.end(), child ? child->object() : nullptr);
        return at == list.end() ? -1 : static_cast<int>(at - list.begin());
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (auto* frame = qobject_cast<QGroupBox*>(widget())) return frame->title();
        }
        return QAccessibleWidget::text(t);
    }

private:
    std::vector<QWidget*> children() const {
        std::vector<QWidget*> list;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !w->isHidden()) list.push_back(w);
        }
        std::stable_sort(list.begin(), list.end(), [](const QWidget* a, const QWidget* b) {
            const QRect ra = a->geometry();
            const QRect rb = b->geometry();
            return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
        });
        return list;
    }
};

// A bar or the graph: one element, its inner boxes are no business of the
// reader's.
class Leaf : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

class Meter final : public Leaf, public QAccessibleValueInterface {
public:
    explicit Meter(QWidget* widget) : Leaf(widget, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return Leaf::interface_cast(type);
    }
    QVariant currentValue() const override { return widget()->property(kValueProperty); }
    void setCurrentValue(const QVariant&) override {}  // shown, not set
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0; }
};

// A label: read by its text unless it has a name of its own; the status
// line is a status bar.
class TextLine final : public Leaf {
public:
    TextLine(LabelWidget* label, QAccessible::Role role) : Leaf(label, role) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<LabelWidget*>(widget())->text();
        }
        return Leaf::text(t);
    }
};

QAccessibleInterface* accessibleFor(const QString& /*className*/, QObject* object) {
    if (auto* frame = dynamic_cast<FrameWidget*>(object)) return new ReadingOrder(frame, QAccessible::Grouping);
    if (auto* area = dynamic_cast<ClientArea*>(object)) return new ReadingOrder(area, QAccessible::Client);
    if (auto* box = dynamic_cast<PictureBoxWidget*>(object)) {
        switch (box->control().accessibleRole) {
            case ui::AccessibleRole::Meter: return new Meter(box);
            case ui::AccessibleRole::Chart: return new Leaf(box, QAccessible::Chart);
            default: return nullptr;
        }
    }
    if (auto* label = dynamic_cast<LabelWidget*>(object)) {
        const bool status = label->control().accessibleRole == ui::AccessibleRole::StatusLine;
        return new TextLine(label, status ? QAccessible::StatusBar : QAccessible::StaticText);
    }
    return nullptr;
}

}  // namespace

void installAccessibleControls() { QAccessible::installFactory(accessibleFor); }

void setMeterValue(QWidget* widget, double value) {
    const QVariant now = value < 0 ? QVariant() : QVariant(value);
    if (widget->property(kValueProperty) == now) return;
    widget->setProperty(kValueProperty, now);
    if (!now.isValid() || !QAccessible::isActive()) return;
    QAccessibleValueChangeEvent event(widget, now);
    QAccessible::updateAccessibility(&event);
}

}  // namespace qx::qt
