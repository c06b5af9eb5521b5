#include "platform/qt/main_window_start.h"

#include <QLocale>

#include "platform/qt/twips.h"

namespace qx::qt {

void startMainWindow(Backend& backend, FrmMain& main, MainWindowEvents& events) {
    events.prepare(QLocale::system().groupSeparator().toStdString(), kTwipsPerPixel);
    backend.attach(main);

    backend.setCloseBox([&events](ui::Form& form) { events.closeBox(form); });
    // Menu shortcuts are the menus' own (QAction); only the About box's keys come here.
    backend.setKeyHandler([&events](ui::Form& form, std::string_view key) { return events.windowKey(form, key); });
    backend.setTrayHandler([&events](int message) { events.trayMessage(message); });

    events.start(backend.dispatcher(), FirstPaint::ByWindowSystem);

    // The notification area shows the pop-up menu itself; just before it
    // does, the right-click message sets "&Hide"/"&Show" from the window.
    backend.setTrayMenu(main.mnuPopUp, [&events] { events.trayMessage(kTrayContextClick); });
}

}  // namespace qx::qt
