// The command-line comparison: any text starts the program; only "/AUTO"
// (any case) hides it with the watch on, only "/QUIT" (any case) arms the
// freeing run that ends it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/sim_support.h"

namespace {
std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::ostringstream out;
    qx::scenario::ScenarioSession session(out);
    qx::fuzz::Run(session, "start", {}, text);
    out.str({});
    qx::fuzz::Run(session, "print", {"frmMain.Visible"});
    qx::fuzz::Run(session, "print", {"tmrDefragMemory.Enabled"});
    const std::string upper = Upper(text);
    const std::string want = std::string("frmMain.Visible = ") + (upper == "/AUTO" ? "False" : "True") +
                             "\ntmrDefragMemory.Enabled = " + (upper == "/QUIT" ? "True" : "False") + "\n";
    if (out.str() != want) std::abort();
    qx::fuzz::Run(session, "advance", {"1000"});
    return 0;
}
