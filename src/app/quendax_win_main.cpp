// quendax.exe: the Windows program. Puts the Windows memory and freeing
// services, the Windows backend, the sampling module and the main window
// together and runs the message loop until the main window unloads.
//
//   quendax [/AUTO | /QUIT]
//   quendax --help | -h | --version   print on the standard output handle
//                                     when one was inherited, else show it in
//                                     a message box; exit, no window opened
//   quendax /?                        the usage in a message box
// and, as a testing aid, before the program's own switches:
//   quendax --fixed-figures TOTAL,FREE,FREED [/AUTO | /QUIT]
//                                     run on these memory figures (MB), FREED
//                                     free after a freeing run (fixed_figures.h)
//   quendax --describe-window FILE ...  keep the window's description in FILE
//                                     (ui/window_description.h); FILE without spaces
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/fixed_figures.h"
#include "app/win32_main_window_start.h"
#include "mainwindow/frm_main.h"
#include "mainwindow/main_window_events.h"
#include "mainwindow/usage.h"
#include "platform/win32/figure_sources.h"
#include "platform/win32/ui/win32_backend.h"
#include "platform/win32/utf16.h"
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
    MessageBoxW(nullptr, qx::win32::toUtf16ForDisplay(text).c_str(), L"Quendax", MB_OK | MB_ICONINFORMATION);
}

// The About box's version, from the program's own version record.
std::string versionCaption() {
    qx::win32::ProgramVersion version;
    if (!qx::win32::readProgramVersion(version)) return {};
    return "v" + std::to_string(version.major) + "." + std::to_string(version.minor);
}

constexpr const char* kTestingAids =
    "Testing aids, before the switches above:\n"
    "  --fixed-figures TOTAL,FREE,FREED  run on these memory figures in MB (FREED\n"
    "                    free after a freeing run)\n"
    "  --describe-window FILE  keep in FILE (no spaces) where the window's controls\n"
    "                    are and the colours they show, for a test to compare\n";
constexpr std::string_view kFixedFigures = "--fixed-figures ";
constexpr std::string_view kDescribeWindow = "--describe-window ";

// Takes the word after `option` off the front of `commandLine`; nothing
// when there is none.
std::optional<std::string> takeOptionValue(std::string& commandLine, std::string_view option) {
    const std::size_t start = commandLine.find_first_not_of(' ', option.size());
    if (start == std::string::npos) return std::nullopt;
    const std::size_t end = std::min(commandLine.find(' ', start), commandLine.size());
    std::string value = commandLine.substr(start, end - start);
    const std::size_t rest = commandLine.find_first_not_of(' ', end);
    commandLine.erase(0, rest == std::string::npos ? commandLine.size() : rest);
    return value;
}

}  // namespace

int main() {
    std::string commandLine = qx::win32::commandLineArguments();
    std::optional<qx::FixedFigures> fixed;
    std::optional<std::string> descriptionFile;
    for (bool more = true; more;) {
        more = false;
        if (commandLine.starts_with(kFixedFigures)) {
            const std::optional<std::string> value = takeOptionValue(commandLine, kFixedFigures);
            fixed = value ? qx::ParseFixedFigures(*value) : std::nullopt;
            if (!fixed) {
                showInformation("--fixed-figures wants TOTAL,FREE,FREED in MB, e.g. 1024,256,300");
                return 2;
            }
            more = true;
        } else if (commandLine.starts_with(kDescribeWindow)) {
            descriptionFile = takeOptionValue(commandLine, kDescribeWindow);
            if (!descriptionFile) {
                showInformation("--describe-window wants the name of a file");
                return 2;
            }
            more = true;
        }
    }
    if (commandLine == "/?") {
        showInformation(qx::UsageBoxText());
        return 0;
    }
    switch (qx::InfoRequestFor(commandLine)) {
        case qx::InfoRequest::help: {
            const std::string usage = qx::UsageText(qx::win32::kWindowsFigureSources, kTestingAids);
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

    qx::win32::Win32Memory machineMemory;
    qx::win32::Win32Freeing machineFreeing;
    std::unique_ptr<qx::FixedFiguresSystem> fixedFigures;
    if (fixed) fixedFigures = std::make_unique<qx::FixedFiguresSystem>(machineMemory, *fixed);
    qx::MemorySystem& memory = fixedFigures ? static_cast<qx::MemorySystem&>(*fixedFigures) : machineMemory;
    qx::FreeingSystem& freeing = fixedFigures ? static_cast<qx::FreeingSystem&>(*fixedFigures) : machineFreeing;
    qx::win32ui::Win32Backend backend(GetModuleHandleW(nullptr), memory, freeing, commandLine);
    if (descriptionFile) backend.describeWindowTo(*descriptionFile);
    qx::ModMemory sampling(backend.system());
    qx::FrmMain main(backend.system(), sampling);
    main.versionCaption = versionCaption();

    qx::MainWindowEvents events(main);
    qx::app::startMainWindow(backend, main, events);
    return backend.exec();
}
