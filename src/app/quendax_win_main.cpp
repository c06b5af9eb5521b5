// quendax.exe: the Windows program. Puts the Windows memory and freeing
// services, the Windows backend, the sampling module and the main window
// together and runs the message loop until the main window unloads.
//
//   quendax [/AUTO | /QUIT]
//   quendax --help | -h | --version   print on the standard output handle
//                                     when one was inherited, else show it in
//                                     a message box; exit, no window opened
//   quendax /?                        the usage in a message box
#include <windows.h>

#include <string>
#include <string_view>

#include "mainwindow/frm_main.h"
#include "mainwindow/main_window_events.h"
#include "mainwindow/usage.h"
#include "platform/win32/backend/figure_sources.h"
#include "platform/win32/backend/main_window_start.h"
#include "platform/win32/backend/win32_backend.h"
#include "platform/win32/ui/win32_ui_text.h"
#include "platform/win32/version_resource.h"
#include "platform/win32/win32_command_line.h"
#include "platform/win32/win32_freeing.h"
#include "platform/win32/win32_memory.h"
#include "sampling/mod_memory.h"

namespace {

// Writes `text` to the standard output handle this process inherited;
// false when there is none (started from Explorer) or it can't be written.
bool writeToStandardOutput(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
    if (GetFileType(out) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) return false;
    DWORD written = 0;
    return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

void showInformation(const std::string& text) {
    MessageBoxW(nullptr, qx::win32ui::toWide(text).c_str(), L"Quendax", MB_OK | MB_ICONINFORMATION);
}

// The About box's version, from the program's own version record.
std::string versionCaption() {
    qx::win32::ProgramVersion version;
    if (!qx::win32::readProgramVersion(version)) return {};
    return "v" + std::to_string(version.major) + "." + std::to_string(version.minor);
}

}  // namespace

int main() {
    const std::string commandLine = qx::win32::commandLineArguments();
    if (commandLine == "/?") {
        showInformation(qx::UsageText(qx::win32::kWindowsFigureSources, ""));
        return 0;
    }
    switch (qx::InfoRequestFor(commandLine)) {
        case qx::InfoRequest::help: {
            const std::string usage = qx::UsageText(qx::win32::kWindowsFigureSources, "");
            if (!writeToStandardOutput(usage)) showInformation(usage);
            return 0;
        }
        case qx::InfoRequest::version: {
            const std::string line = qx::VersionText() + "\n";
            if (!writeToStandardOutput(line)) showInformation(qx::VersionText());
            return 0;
        }
        case qx::InfoRequest::none: break;
    }

    qx::win32::Win32Memory memory;
    qx::win32::Win32Freeing freeing;
    qx::win32::Backend backend(GetModuleHandleW(nullptr), memory, freeing, commandLine);
    qx::ModMemory sampling(backend.system());
    qx::FrmMain main(backend.system(), sampling);
    main.versionCaption = versionCaption();

    qx::MainWindowEvents events(main);
    qx::win32::startMainWindow(backend, main, events);
    return backend.exec();
}
