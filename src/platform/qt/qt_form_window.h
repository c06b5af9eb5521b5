// The top-level window of one model form: a main window whose menu bar holds
// the form's menus and whose central widget is the client area with every
// control. sync() pushes what the handlers changed; the window's own events
// (resize, move, minimize, close box, double-clicks, keys) go to the model
// through the dispatcher.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/control_events.h"
#include "platform/qt/control_view.h"
#include "platform/qt/menu_view.h"
#include "platform/ui/form_host.h"
#include "platform/ui/native_form.h"
#include "platform/ui/window_description.h"

namespace qx::qt {

class QtFormWindow final : public QMainWindow, public ui::NativeForm, private ControlEvents {
public:
    enum class Placement { CentreOfScreen, FromModel };

    QtFormWindow(ui::Form& form, ui::FormHost& host, Placement placement);
    ~QtFormWindow() override;

    // The form, or nullptr once it has been unloaded.
    ui::Form* form() const { return form_; }

    // ui::NativeForm
    void sync() override;
    void repaintBox(const ui::Control& box) override;
    bool hasMenu(const ui::MenuItem& menu) const override;
    void popupMenu(const ui::MenuItem& menu, bool entriesOnly) override;
    void detach() override;
    bool frameExtents(int& width, int& height) const override;
    void recordPlace() override;
    ui::ScreenView screenView() const override;

    ClientArea* clientArea() const { return client_; }
    const ControlView* viewOf(const ui::Control& control) const;
    QWidget* widgetOf(const ui::Control& control) const;
    MenuView* menus() const { return menus_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // ControlEvents
    void doubleClicked(ui::Control* control) override;
    void buttonClicked(ui::Control& button) override;
    void paintControl(ui::Control& box, QPainter& painter, const QPalette& palette,
                      std::vector<QPoint>& points) override;
    void clientResized() override;
    ui::FontGroups& fontGroups() override { return host_.fontGroups(); }

    bool live() const;
    void createControls();
    // The controls that take the keyboard focus, in the order Tab visits them.
    std::vector<const ControlView*> focusOrder() const;
    void applyTabOrder();
    void focusFirstControl();
    struct WindowChanges;
    void pushWindow();
    void firstShow();
    int menuBarHeight(int width) const;
    // The outer size for a client area of `width` x `height` pixels.
    QSize windowSizeFor(int width, int height) const;
    void resizeClient(int width, int height);

    ui::Form* form_;
    ui::FormHost& host_;
    Placement placement_;
    ClientArea* client_ = nullptr;
    std::vector<std::unique_ptr<ControlView>> views_;
    std::unique_ptr<MenuView> menus_;
    std::uint64_t seen_ = ~std::uint64_t{0};
    ui::FormSync formSync_;
    bool shownOnce_ = false;
    bool minimizeWhenMapped_ = false;
    QElapsedTimer shownAt_;
};

}  // namespace qx::qt
