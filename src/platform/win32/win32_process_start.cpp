#include "platform/win32/win32_process_start.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace qx::win32 {

std::wstring quotedProgramPath(std::wstring_view path) {
    if (path.empty() || path.find_first_of(std::wstring_view(L"\"\0", 2)) != std::wstring_view::npos) return {};
    std::wstring commandLine;
    commandLine.reserve(path.size() + 2);
    commandLine += L'"';
    commandLine += path;
    commandLine += L'"';
    return commandLine;
}

bool startProgram(std::string_view path) {
    std::wstring application;
    if (!toUtf16(path, application)) return false;
    std::wstring commandLine = quotedProgramPath(application);
    if (commandLine.empty()) return false;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line; it is our own copy.
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool fileExists(std::string_view path) {
    std::wstring wide;
    if (path.empty() || !toUtf16(path, wide) || wide.find(L'\0') != std::wstring::npos) return false;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

}  // namespace qx::win32
