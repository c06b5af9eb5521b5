// The program's arguments on Windows, from the process's command line.
#pragma once

#include <string>
#include <string_view>

namespace qx::win32 {

// What follows the program's own name, read by the Windows rules: the name
// ends at the first blank or tab outside double quotes, each double quote
// opening or closing a quoted stretch. The blanks and tabs after the name
// are skipped; the rest is kept as typed, trailing blanks included.
std::wstring_view argumentsAfterProgramName(std::wstring_view commandLine);

// The arguments of this process (GetCommandLineW), in UTF-8.
std::string commandLineArguments();

}  // namespace qx::win32
