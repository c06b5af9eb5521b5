#include "app/win32_main_window_start.h"

#include "platform/win32/ui/user_locale.h"
#include "platform/win32/ui/win32_window_host.h"

namespace qx::app {

void startMainWindow(win32ui::Win32Backend& backend, FrmMain& main, MainWindowEvents& events) {
    events.prepare(win32ui::userGroupSeparator(), backend.windows().twipsPerPixel());
    backend.attach(main);

    // The close box, and the About box's Enter and Esc (menu shortcuts go
    // through the accelerator table).
    backend.formHandlers() = events.formHandlers();
    backend.setTrayHandler([&events](int code) { events.trayMessage(code); });
    backend.setTrayAddedAgain([&events] { events.trayAddedAgain(); });

    // Windows paints a window as it first appears.
    events.start(backend.dispatcher(), FirstPaint::ByWindowSystem);
}

}  // namespace qx::app
