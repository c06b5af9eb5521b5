// The number a one-line /proc file starts with: a value read is exactly the
// digits the text starts with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/linux/leading_number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::uint64_t value = 0;
    if (!qx::linuxos::parseLeadingNumber(text, value)) return 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == 0 || digits == text.size()) std::abort();
    if (text[digits] != ' ' && text[digits] != '\n') std::abort();
    std::string_view written = text.substr(0, digits);
    while (written.size() > 1 && written.front() == '0') written.remove_prefix(1);
    if (written != std::to_string(value)) std::abort();
    return 0;
}
