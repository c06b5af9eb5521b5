// Showing text from a script safely: in error messages and in the lines the
// simulated machine prints.
#pragma once

#include <string>
#include <string_view>

namespace qx::sim {

// `text` with every control byte written as an escape ("\r" as "\x0D", ESC as
// "\x1B"), as are bytes outside well-formed UTF-8 and the
// C1 control characters (U+0080 to U+009F), so that script text echoed into
// a message can't move the cursor, recolour or clear the terminal.
std::string EscapeControls(std::string_view text);

}  // namespace qx::sim
