// Starts the main window on the Qt backend: the user's digit-group
// separator, what the close boxes, Enter/Esc and the notification-area icon
// do, and the load through the dispatcher.
#pragma once

#include "mainwindow/frm_main.h"
#include "platform/qt/qt_backend.h"

namespace qx::qt {

void startMainWindow(Backend& backend, FrmMain& main);

}  // namespace qx::qt
