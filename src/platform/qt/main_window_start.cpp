#include "platform/qt/main_window_start.h"

#include <QLocale>

#include "about/frm_about.h"
#include "platform/qt/tray_icon.h"
#include "platform/qt/twips.h"

namespace qx::qt {

void startMainWindow(Backend& backend, FrmMain& main) {
    main.groupSeparator = QLocale::system().groupSeparator().toStdString();
    main.setTwipsPerPixel(kTwipsPerPixel);
    backend.attach(main);

    // The About box's close box closes it the way its OK button does.
    backend.setCloseBox([&main](ui::Form& form) {
        if (&form == main.about()) {
            main.unloadAbout();
        } else if (form.onQueryClose) {
            form.onQueryClose();
        } else {
            form.unload();
        }
    });
    backend.setKeyHandler([&main](ui::Form& form, std::string_view key) {
        FrmAbout* about = main.about();
        return about && &form == about && about->pressKey(key);
    });
    backend.setTrayHandler([&main](int message) {
        main.TrayIcon_MouseMove(0, 0, static_cast<float>(message * main.twipsPerPixel()), 0);
    });

    // A notification area that goes away while the window is hidden brings
    // the window back; one that comes gets the icon.
    backend.setTrayHostHandler([&main](bool present) { main.TrayHost_Change(present); });

    backend.dispatcher().deliver([&main] { main.load(); });

    // The notification area shows the pop-up menu itself; just before it
    // does, the right-click message sets "&Hide"/"&Show" from the window.
    backend.setTrayMenu(main.mnuPopUp, [&main] {
        main.TrayIcon_MouseMove(0, 0, static_cast<float>(kTrayContextClick * main.twipsPerPixel()), 0);
    });
}

}  // namespace qx::qt
