// Registry value decoding in the About box: two values of any type holding
// any bytes, looked up by "&System Info...".
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "fuzz/sim_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // First two bytes: the two value types (mostly 1 text, 4 number); the
    // rest: the two values' data, split at the first byte 0xFF.
    auto type = [](std::uint8_t b) { return std::to_string(b < 200 ? (b % 2 == 0 ? 1 : 4) : b); };
    const std::string firstType = type(data[0]);
    const std::string secondType = type(data[1]);
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t cut = rest.find('\xFF');
    const std::string first(rest.substr(0, cut));
    const std::string second(cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1));

    std::ostream null(nullptr);
    qx::scenario::ScenarioSession session(null);
    if (data[0] % 3 != 0) {
        qx::fuzz::Run(session, "reg", {"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", firstType, first});
    }
    qx::fuzz::Run(session, "reg", {"SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", secondType, second});
    qx::fuzz::Run(session, "file", {second + "\\MSINFO32.EXE"});
    qx::fuzz::Run(session, "start");
    qx::fuzz::Run(session, "key", {"F1"});
    qx::fuzz::Run(session, "click", {"cmdSysInfo"});
    return 0;
}
