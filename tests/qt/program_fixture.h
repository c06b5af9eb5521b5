// The whole program in-process, as quendax builds it: the Linux services,
// the Qt backend, the sampling module and the main window, loaded.
#pragma once

#include <QTest>
#include <QWidget>
#include <functional>
#include <string>

#include "app/qt_main_window_start.h"
#include "mainwindow/frm_main.h"
#include "platform/linux/linux_freeing.h"
#include "platform/linux/linux_memory.h"
#include "platform/linux/linux_shell_services.h"
#include "platform/qt/qt_form_window.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_window_host.h"
#include "sampling/mod_memory.h"

namespace qx::qt::testing {

class Program {
public:
    explicit Program(std::string commandLine = {})
        : backend(memory, freeing, freeing, lookups, std::move(commandLine)), sampling(backend.system()), main(backend.system(), sampling) {
        app::startMainWindow(backend, main, events);
    }

    QtFormWindow* window() { return backend.windows().windowOf(main); }
    QWidget* widget(const ui::Control& control) { return backend.windows().widgetOf(control); }
    // Runs an event the way the backend runs the user's.
    void event(const std::function<void()>& handler) { backend.dispatcher().deliver(handler); }

    linuxos::LinuxMemory memory;
    linuxos::LinuxFreeing freeing;
    linuxos::LinuxShellServices lookups;
    QtBackend backend;
    ModMemory sampling;
    FrmMain main;
    MainWindowEvents events{main};
};

// Processes events until `done` holds or `ms` have passed; returns `done()`.
inline bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    for (int waited = 0; waited < ms && !done(); waited += 10) QTest::qWait(10);
    return done();
}

}  // namespace qx::qt::testing
