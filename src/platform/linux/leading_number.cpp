#include "platform/linux/leading_number.h"

#include <charconv>

namespace qx::linuxos {

bool parseLeadingNumber(std::string_view text, std::uint64_t& value) {
    const char* const end = text.data() + text.size();
    std::uint64_t parsed = 0;
    const auto [after, error] = std::from_chars(text.data(), end, parsed);
    if (error != std::errc{} || after == text.data() || after == end) return false;
    if (*after != ' ' && *after != '\n') return false;
    value = parsed;
    return true;
}

}  // namespace qx::linuxos
