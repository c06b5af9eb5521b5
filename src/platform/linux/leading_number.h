// Reads the number a one-line /proc file starts with, such as
// /proc/self/statm ("<size> <resident> ...") or /proc/sys/vm/overcommit_memory.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::linuxos {

// True when `text` starts with a decimal number followed by a space or a
// newline; the number goes to `value`. A number running into the end of the
// text may have been cut short, so that fails, as do signs and other junk.
bool parseLeadingNumber(std::string_view text, std::uint64_t& value);

}  // namespace qx::linuxos
