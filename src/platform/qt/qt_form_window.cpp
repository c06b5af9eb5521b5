#include "platform/qt/qt_form_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "platform/qt/icons.h"
#include "platform/qt/label_widget.h"
#include "platform/qt/model_colors.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/twips.h"
#include "platform/qt/x11_desktop.h"
#include "platform/runtime/numbers.h"
#include "platform/ui/pixels.h"
#include "platform/ui/stacking.h"

namespace qx::qt {

namespace {

// How long after its first show a window's mapping takes at most.
constexpr qint64 kMappingMs = 2000;

Qt::WindowFlags windowFlagsFor(const ui::Form& form) {
    // A window kept out of the taskbar is a dialog of the start-up window.
    Qt::WindowFlags flags = form.showInTaskbar ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
             Qt::WindowCloseButtonHint;
    if (form.minButton) flags |= Qt::WindowMinimizeButtonHint;
    if (form.maxButton) flags |= Qt::WindowMaximizeButtonHint;
    if (!form.sizable) flags |= Qt::MSWindowsFixedSizeDialogHint;
    return flags;
}

Qt::WindowStates qtWindowState(int state, Qt::WindowStates current) {
    current &= ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == ui::kMinimized) return current | Qt::WindowMinimized;
    if (state == ui::kMaximized) return current | Qt::WindowMaximized;
    return current;
}

}  // namespace

QtFormWindow::QtFormWindow(ui::Form& form, ui::FormHost& host, Placement placement)
    : QMainWindow(nullptr, windowFlagsFor(form)),
      form_(&form),
      host_(host),
      placement_(placement),
      formSync_(form, placement == Placement::CentreOfScreen) {
    setObjectName(QString::fromStdString(form.name()));
    if (!form.icon.empty()) setWindowIcon(iconNamed(form.icon));
    client_ = new ClientArea(*this, this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    if (!form.menus().empty()) {
        menus_ = std::make_unique<MenuView>(form, host.dispatcher(), menuBar(), this);
    }
    createControls();
    applyTabOrder();
}

QtFormWindow::~QtFormWindow() {
    // The widgets report to this window: let them go while it is whole.
    form_ = nullptr;
    menus_.reset();
    views_.clear();
    delete client_;
    client_ = nullptr;
}

void QtFormWindow::detach() {
    form_ = nullptr;
    // The menus stay until the window goes: one of them may be what is
    // running now.
    if (menus_) menus_->detach();
    hide();
}

bool QtFormWindow::hasMenu(const ui::MenuItem& menu) const { return menus_ && menus_->contains(menu); }

void QtFormWindow::popupMenu(const ui::MenuItem& menu, bool entriesOnly) {
    menus_->push();
    if (QMenu* qmenu = menus_->menuOf(menu); qmenu && !entriesOnly) qmenu->popup(QCursor::pos());
}

bool QtFormWindow::frameExtents(int& width, int& height) const {
    if (!isVisible()) return false;
    width = frameGeometry().width() - geometry().width();
    height = frameGeometry().height() - geometry().height();
    return true;
}

bool QtFormWindow::live() const { return form_ && !host_.dispatcher().ended(); }

void QtFormWindow::createControls() {
    ControlEvents& events = *this;
    views_.reserve(form_->controls().size());
    for (ui::Control* control : form_->controls()) {
        QWidget* parent = client_;
        if (control->container()) {
            for (const auto& v : views_) {
                if (&v->control() == control->container()) parent = v->childArea();
            }
        }
        views_.push_back(std::make_unique<ControlView>(*control, events, parent));
    }
    // Raised bottom to top, each comes to lie above those before it.
    for (const ui::Control* control : ui::StackingOrder(*form_)) {
        if (QWidget* widget = widgetOf(*control)) widget->raise();
    }
}

namespace {

// Where a control lies in its window, in twips: its container's place plus
// its own.
std::pair<double, double> placeInWindow(const ui::Control& control) {
    double top = 0, left = 0;
    for (const ui::Control* c = &control; c; c = c->container()) {
        top += c->topTwips();
        left += c->leftTwips();
    }
    return {top, left};
}

}  // namespace

std::vector<const ControlView*> QtFormWindow::focusOrder() const {
    // Controls that take the focus by their kind go by their tab index; the
    // ones that take it only so that a screen reader can visit them (the
    // named figures, bars and graph) follow in reading order.
    std::vector<const ControlView*> order;
    std::vector<const ControlView*> reading;
    for (const auto& v : views_) {
        if (v->widget()->focusPolicy() == Qt::NoFocus) continue;
        (v->control().accessibleName.empty() ? order : reading).push_back(v.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const ControlView* a, const ControlView* b) {
        return a->control().tabIndex < b->control().tabIndex;
    });
    std::stable_sort(reading.begin(), reading.end(), [](const ControlView* a, const ControlView* b) {
        return placeInWindow(a->control()) < placeInWindow(b->control());
    });
    order.insert(order.end(), reading.begin(), reading.end());
    return order;
}

void QtFormWindow::applyTabOrder() {
    const std::vector<const ControlView*> order = focusOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1]->widget(), order[i]->widget());
    }
}

void QtFormWindow::focusFirstControl() {
    for (const ControlView* v : focusOrder()) {
        QWidget* w = v->widget();
        if (!w->isVisibleTo(this) || !w->isEnabled()) continue;
        w->setFocus(Qt::OtherFocusReason);
        return;
    }
}

const ControlView* QtFormWindow::viewOf(const ui::Control& control) const {
    for (const auto& v : views_) {
        if (&v->control() == &control) return v.get();
    }
    return nullptr;
}

QWidget* QtFormWindow::widgetOf(const ui::Control& control) const {
    const ControlView* view = viewOf(control);
    return view ? view->widget() : nullptr;
}

void QtFormWindow::repaintBox(const ui::Control& box) {
    const ControlView* view = viewOf(box);
    if (!view) return;
    if (PictureClient* client = view->pictureClient()) client->repaint();
}

// ---- model to widgets ------------------------------------------------------------

void QtFormWindow::sync() {
    if (!form_ || form_->revision() == seen_) return;
    seen_ = form_->revision();
    for (const auto& v : views_) v->push();
    if (menus_) menus_->push();
    pushWindow();
}

// The window's own changes applied to it.
struct QtFormWindow::WindowChanges final : ui::FormChanges {
    explicit WindowChanges(QtFormWindow& window) : window(window) {}

    void setCaption(const std::string& caption) override { window.setWindowTitle(QString::fromStdString(caption)); }
    void setClientSize(int width, int height) override { window.resizeClient(width, height); }
    void setPosition(int left, int top) override { window.move(left, top); }  // the outer corner
    void setEnabled(bool enabled) override { window.QWidget::setEnabled(enabled); }
    void setWindowState(int state) override {
        const Qt::WindowStates wanted = qtWindowState(state, window.windowState());
        if (wanted != window.windowState()) window.QWidget::setWindowState(wanted);
    }
    void setVisible(bool visible) override {
        if (visible && !window.isVisible()) {
            if (window.shownOnce_) {
                if (!window.isMinimized()) clearIconicStartHint(window);
                window.show();
            } else {
                window.firstShow();
            }
        } else if (!visible && window.isVisible()) {
            window.hide();
        }
    }

    QtFormWindow& window;
};

void QtFormWindow::pushWindow() {
    WindowChanges changes(*this);
    formSync_.sync(changes, kTwipsPerPixel);
}

int QtFormWindow::menuBarHeight(int width) const {
    const QWidget* bar = menuWidget();
    if (!bar || bar->isHidden()) return 0;
    const int h = bar->heightForWidth(width);
    return h > 0 ? h : bar->sizeHint().height();
}

QSize QtFormWindow::windowSizeFor(int width, int height) const { return {width, height + menuBarHeight(width)}; }

void QtFormWindow::resizeClient(int width, int height) {
    const QSize size = windowSizeFor(width, height);
    if (form_->sizable) {
        resize(size);
    } else {
        setFixedSize(size);
    }
}

void QtFormWindow::firstShow() {
    shownOnce_ = true;
    if (placement_ == Placement::CentreOfScreen) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            const QSize size = windowSizeFor(twipsToPixels(form_->scaleWidth()), twipsToPixels(form_->scaleHeight()));
            move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        }
    } else if (auto* owner = dynamic_cast<QtFormWindow*>(host_.startupWindow()); owner && owner != this) {
        // A dialog stays above the window it belongs to.
        winId();
        owner->winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    // A window minimized before it was ever shown (a start without a
    // notification area to hide in) is mapped in normal state by the X
    // window manager all the same: it is minimized again once it is mapped.
    minimizeWhenMapped_ = form_->windowState() == ui::kMinimized;
    shownAt_.start();
    show();
    if (placement_ == Placement::FromModel) {
        raise();
        activateWindow();
    }
    focusFirstControl();
    recordPlace();
}

ui::ScreenView QtFormWindow::screenView() const {
    ui::ScreenView view;
    view.shown = isVisible() && !isMinimized();
    view.scale = devicePixelRatioF();
    const auto device = [scale = view.scale](double pixels) { return ui::toDevicePixels(pixels, scale); };
    const QPoint corner = client_->mapToGlobal(QPoint(0, 0));
    view.clientLeft = device(corner.x());
    view.clientTop = device(corner.y());
    view.twipsPerPixel = kTwipsPerPixel;
    const QRect outer = frameGeometry();
    view.outerLeft = device(outer.x());
    view.outerTop = device(outer.y());
    view.outerWidth = device(outer.width());
    view.outerHeight = device(outer.height());
    view.rgb = [palette = client_->palette()](std::uint32_t color) {
        return static_cast<std::uint32_t>(toQColor(color, palette).rgb() & 0xFFFFFF);
    };
    view.textWidth = [this, device](const ui::Control& label, double share) {
        QFont font = client_->font();
        if (label.fontSize > 0) font.setPointSizeF(label.fontSize);
        font.setBold(label.fontBold);
        if (share < 1.0) font = LabelWidget::shrunk(font, share);
        return device(QFontMetricsF(font, client_).horizontalAdvance(QString::fromStdString(label.caption())));
    };
    return view;
}

void QtFormWindow::recordPlace() {
    if (!form_ || !isVisible()) return;
    const QRect frame = frameGeometry();
    const QSize inner = client_->size();
    form_->setFrameExtents(pixelsToTwips(frame.width() - inner.width()),
                           pixelsToTwips(frame.height() - inner.height()));
    form_->setBounds(pixelsToTwips(frame.x()), pixelsToTwips(frame.y()), pixelsToTwips(frame.width()),
                     pixelsToTwips(frame.height()));
    formSync_.placeTaken();
}

// ---- events to the model -----------------------------------------------------------

void QtFormWindow::closeEvent(QCloseEvent* event) {
    // The form decides.
    event->ignore();
    if (live()) host_.closeBox(*form_);
}

void QtFormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !live()) return;
    const int state = isMinimized() ? ui::kMinimized : isMaximized() ? ui::kMaximized : ui::kNormal;
    // Only the window manager's first word right after the show: a desktop
    // that says nothing then (Wayland) leaves a later restore alone.
    if (minimizeWhenMapped_ && state != ui::kMinimized && shownAt_.elapsed() < kMappingMs) {
        minimizeWhenMapped_ = false;
        if (form_->windowState() == ui::kMinimized) {
            setWindowState(windowState() | Qt::WindowMinimized);
            return;
        }
    }
    host_.stateChanged(*form_, state);
}

void QtFormWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (live()) host_.moved(*form_);
}

void QtFormWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const char* key = nullptr;
    if (modifiers == Qt::NoModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) key = "Enter";
        if (event->key() == Qt::Key_Escape) key = "Esc";
    }
    if (key && live() && host_.key(*form_, key)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void QtFormWindow::doubleClicked(ui::Control* control) {
    if (live()) host_.doubleClick(*form_, control);
}

void QtFormWindow::buttonClicked(ui::Control& button) {
    if (live()) host_.clickButton(*form_, button);
}

void QtFormWindow::paintControl(ui::Control& box, QPainter& painter, const QPalette& palette,
                              std::vector<QPoint>& points) {
    if (!live() || !box.onPaint) return;
    QtCanvas canvas(painter, palette, points);
    host_.paintBox(*form_, box, canvas);
}

void QtFormWindow::clientResized() {
    // Before the first show the sizes are the ones pushed from the form.
    if (!live() || !shownOnce_ || isMinimized()) return;
    host_.clientResized(*form_, pixelsToTwips(client_->width()), pixelsToTwips(client_->height()));
}

}  // namespace qx::qt
