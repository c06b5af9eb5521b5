// Starts the main window on the Windows backend: the shared main-window
// entry points wired to the Windows windows and notification area, with
// the user's digit-group separator from the user's locale.
#pragma once

#include "mainwindow/frm_main.h"
#include "mainwindow/main_window_events.h"
#include "platform/win32/ui/win32_backend.h"

namespace qx::app {

// `events` must live as long as the backend runs.
void startMainWindow(win32ui::Win32Backend& backend, FrmMain& main, MainWindowEvents& events);

}  // namespace qx::app
