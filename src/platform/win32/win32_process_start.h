// Starting a program and testing for a file, with the W calls.
#pragma once

#include <string>
#include <string_view>

namespace qx::win32 {

// The command line that names exactly `path` and nothing else: the path in
// double quotes. Empty when the path can't be quoted (it holds a double
// quote, which no Windows file name does, or a NUL).
std::wstring quotedProgramPath(std::wstring_view path);

// Starts the program file `path` (UTF-8) in a normal window with the focus,
// never through a shell. The path is the application name and, quoted, the
// command line, so a path with blanks is never read as a shorter program
// ("C:\Program.exe") with arguments. False when the platform refuses.
bool startProgram(std::string_view path);

// True for an ordinary file: directories and files marked hidden or system
// count as absent.
bool fileExists(std::string_view path);

}  // namespace qx::win32
