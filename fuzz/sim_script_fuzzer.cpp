// Whole quendax-sim scripts: any text either runs or stops at a line with a
// message, never crashes, never hangs. One command's virtual time is kept
// shorter than the program's hour so that each input runs quickly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/scenario/scenario_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    std::ostream null(nullptr);
    std::ostringstream err;
    qx::scenario::ScenarioSession session(null);
    session.maxStepMs = 20000;
    const int status = session.run(script, err);
    if (status != 0 && status != 2) std::abort();
    // An error is one line naming its script line, with no control byte in it.
    const std::string message = err.str();
    if (status == 2) {
        if (message.rfind("quendax-sim: line ", 0) != 0 || message.back() != '\n') std::abort();
        for (std::size_t i = 0; i + 1 < message.size(); ++i) {
            const auto c = static_cast<unsigned char>(message[i]);
            if (c < 0x20 || c == 0x7F) std::abort();
        }
    } else if (!message.empty()) {
        std::abort();
    }
    return 0;
}
