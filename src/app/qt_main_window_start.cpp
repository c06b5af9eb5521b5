#include "app/qt_main_window_start.h"

namespace qx::app {

void startMainWindow(qt::QtBackend& backend, FrmMain& main, MainWindowEvents& events) {
    events.prepare(qt::QtBackend::userGroupSeparator(), qt::QtBackend::twipsPerPixel());
    backend.attach(main);

    // The close box, and the About box's Enter and Esc (menu shortcuts are
    // the menus' own).
    backend.formHandlers() = events.formHandlers();
    backend.setTrayHandler([&events](int message) { events.trayMessage(message); });

    // A notification area that goes away while the window is hidden brings
    // the window back; one that comes gets the icon.
    backend.setTrayHostHandler([&main](bool present) { main.TrayHost_Change(present); });

    events.start(backend.dispatcher(), FirstPaint::ByWindowSystem);

    // The notification area shows the pop-up menu itself; just before it
    // does, the right-click message sets "&Hide"/"&Show" from the window.
    backend.setTrayMenu(main.mnuPopUp, [&events] { events.trayMessage(kTrayContextClick); });
}

}  // namespace qx::app
