// Start-up and shutdown of the main window: the load handler prepares the
// sampling module, adds the notification-area icon and applies the command
// line; the unload handler is the program's single way out.
#include "about/frm_about.h"
#include "mainwindow/frm_main.h"
#include "platform/runtime/errors.h"

namespace qx {

void FrmMain::Form_Load() {
    // Every step is tried; a failing one is skipped without a message.
    skipOnError([&] { memory_.UseLegacyStatus = 0; });
    skipOnError([&] { AddTrayIcon(); });
    skipOnError([&] { ApplyCommandLine(); });
}

void FrmMain::Form_Unload() {
    skipOnError([&] { unloadAbout(); });
    skipOnError([&] { system_.notifyIcon(TrayMessage::Delete, trayImageOf(TrayData), "Quendax"); });
    system_.exitProcess();
}

void FrmMain::unloadAbout() {
    if (!about_) return;
    closedAbout_ = std::move(about_);
    closedAbout_->unload();
}

}  // namespace qx
