#include "mainwindow/main_window_events.h"

#include <string>

#include "about/frm_about.h"
#include "mainwindow/frm_main.h"

namespace qx {

void MainWindowEvents::prepare(std::string_view groupSeparator, double twipsPerPixel) {
    if (!groupSeparator.empty()) main_.groupSeparator = std::string(groupSeparator);
    main_.setTwipsPerPixel(twipsPerPixel);
}

void MainWindowEvents::start(ui::Dispatcher& dispatcher, FirstPaint firstPaint) {
    dispatcher.deliver([this] { main_.load(); });
    if (firstPaint == FirstPaint::AfterLoad && !dispatcher.ended() && main_.visible()) {
        dispatcher.deliver([this] { paintHistory(); });
    }
}

void MainWindowEvents::paintHistory() { main_.picHist.refresh(); }

void MainWindowEvents::closeBox(ui::Form& form) {
    if (&form == main_.about()) {
        main_.unloadAbout();
    } else if (form.onQueryClose) {
        form.onQueryClose();
    } else {
        form.unload();
    }
}

bool MainWindowEvents::windowKey(ui::Form& form, std::string_view key) {
    FrmAbout* about = main_.about();
    return about && &form == about && about->pressKey(key);
}

bool MainWindowEvents::key(std::string_view key) {
    if (FrmAbout* about = main_.about(); about && about->pressKey(key)) return true;
    return main_.pressShortcut(key);
}

void MainWindowEvents::trayAddedAgain() { main_.TrayIconAddedAgain(); }

void MainWindowEvents::trayMessage(double message) {
    main_.TrayIcon_MouseMove(0, 0, static_cast<float>(message * main_.twipsPerPixel()), 0);
}

}  // namespace qx
