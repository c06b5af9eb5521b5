// A program for the start tests: it leaves a file named after itself with
// ".ran" appended, holding its command line, and ends.
#include <windows.h>

int main() {
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    ::lstrcatW(path, L".ran");
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const wchar_t* commandLine = ::GetCommandLineW();
    DWORD written = 0;
    ::WriteFile(file, commandLine, static_cast<DWORD>(::lstrlenW(commandLine) * sizeof(wchar_t)), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
