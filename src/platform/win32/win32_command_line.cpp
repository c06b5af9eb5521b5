#include "platform/win32/win32_command_line.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace qx::win32 {

namespace {
bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

std::wstring_view argumentsAfterProgramName(std::wstring_view commandLine) {
    std::size_t i = 0;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        const wchar_t c = commandLine[i];
        if (c == L'"') {
            quoted = !quoted;
        } else if (!quoted && isBlank(c)) {
            break;
        }
    }
    while (i < commandLine.size() && isBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

std::string commandLineArguments() {
    const wchar_t* commandLine = ::GetCommandLineW();
    if (commandLine == nullptr) return {};
    return toUtf8(argumentsAfterProgramName(commandLine));
}

}  // namespace qx::win32
