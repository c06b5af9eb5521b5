// Stand-in for quendax.exe in the installer test: "--version" writes the
// version line to the standard output the program inherited; started
// otherwise it keeps running, like the program, until it is ended (at most
// two minutes, so it can never outlive a test). The icon and the version
// record come from the resources every Windows program of the project
// carries.
#include <windows.h>

#include <string>

#include "mainwindow/usage.h"
#include "platform/win32/win32_command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (qx::InfoRequestFor(qx::win32::commandLineArguments()) != qx::InfoRequest::version) {
        Sleep(120000);
        return 0;
    }
    const std::string line = qx::VersionText() + "\n";
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out == nullptr || out == INVALID_HANDLE_VALUE ||
        !WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
        return 1;
    }
    return 0;
}
