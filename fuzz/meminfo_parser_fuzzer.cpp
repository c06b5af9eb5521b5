// /proc/meminfo as the kernel might write it, or cut short, or garbled.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/linux/meminfo_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qx::linuxos::MeminfoValues values;
    values.memTotal = 12345;
    const bool ok = qx::linuxos::parseMeminfo(text, values);
    // A refused text leaves the values alone.
    if (!ok && values.memTotal != 12345) std::abort();
    return 0;
}
