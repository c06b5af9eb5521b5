// What the window system's events do to the main window, the same on every
// backend and in quendax-sim: the user's digit-group separator, the load and
// the first paint after it, the close boxes, the keys the About box takes,
// and the notification-area icon's mouse messages.
//
// Each entry point below, except start(), is one event's handler: a backend
// calls it inside Dispatcher::deliver, as it does for every handler.
#pragma once

#include <string_view>

#include "platform/ui/dispatcher.h"
#include "platform/ui/form_handlers.h"
#include "platform/system.h"
#include "platform/ui/model.h"

namespace qx {

class FrmMain;

// Whether the backend's window system paints a newly shown window itself.
enum class FirstPaint { ByWindowSystem, AfterLoad };

class MainWindowEvents {
public:
    explicit MainWindowEvents(FrmMain& main) : main_(main) {}

    // Before the load: the user's digit-group separator ("" keeps ",") and
    // the screen's twips per pixel.
    void prepare(std::string_view groupSeparator, double twipsPerPixel);

    // Loads the main window through the dispatcher. Where the window system
    // doesn't paint a window as it first appears (`AfterLoad`), the history
    // graph is painted right after a load that left the window visible.
    void start(ui::Dispatcher& dispatcher, FirstPaint firstPaint);

    // The window system repaints the history graph (a new size, say).
    void paintHistory();

    // A window's close box: the About box closes the way its OK button
    // does; any other window asks its query-close handler or unloads.
    void closeBox(ui::Form& form);

    // A key pressed in `form`: the About box takes Enter and Esc. True when
    // the key was taken.
    bool windowKey(ui::Form& form, std::string_view key);
    // Both of the above, as a backend's windows take them.
    ui::FormHandlers formHandlers() {
        return {[this](ui::Form& form) { closeBox(form); },
                [this](ui::Form& form, std::string_view key) { return windowKey(form, key); }};
    }

    // A key pressed anywhere in the program ("Ctrl+F", "F1", "Enter"...):
    // the About box has the focus while it is open; otherwise the main
    // window's menu shortcuts. For backends without their own accelerators.
    bool key(std::string_view key);

    // A mouse message from the notification-area icon (kTrayDoubleClick,
    // kTrayContextClick), passed on in the units the handler expects (the
    // message times the twips per pixel).
    void trayMessage(double message);

    // The taskbar was created again (Explorer restarted, or it came up
    // after the program) and the notification-area icon was added back.
    void trayAddedAgain();

private:
    FrmMain& main_;
};

}  // namespace qx
