// Where the figures come from on Windows, in the words of the usage text.
#pragma once

namespace qx::win32 {

inline constexpr const char* kWindowsFigureSources =
    "Where the figures come from:\n"
    "  physical memory  GlobalMemoryStatusEx: total and available physical memory\n"
    "  page file        GlobalMemoryStatusEx: the commit limit and what is left of it\n"
    "  processor load   GetSystemTimes, between two refreshes\n";

}  // namespace qx::win32
