// Where the figures come from on Linux, in the words of the usage text.
#pragma once

namespace qx::linuxos {

inline constexpr const char* kLinuxFigureSources =
    "Where the figures come from:\n"
    "  physical memory  MemTotal and MemAvailable of /proc/meminfo\n"
    "  page file        what the system can still hand out without killing\n"
    "                   anything: memory plus swap, or the commit limit when\n"
    "                   strict overcommit accounting is on\n"
    "  processor load   the cpu line of /proc/stat, between two refreshes\n";

}  // namespace qx::linuxos
