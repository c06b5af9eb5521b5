// Starts the main window on the Qt backend: the shared main-window entry
// points wired to the Qt windows and notification area, with the user's
// digit-group separator from the system locale.
#pragma once

#include "mainwindow/frm_main.h"
#include "mainwindow/main_window_events.h"
#include "platform/qt/qt_backend.h"

namespace qx::app {

// `events` must live as long as the backend runs.
void startMainWindow(qt::QtBackend& backend, FrmMain& main, MainWindowEvents& events);

}  // namespace qx::app
