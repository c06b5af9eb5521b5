// Reading a quendax-sim script as lines, and showing its text safely in
// error messages.
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "platform/sim/escaped_text.h"

namespace qx::scenario {

// Splits a script into lines. A line ends at "\n", "\r\n" or a lone "\r", so
// a script saved with any of the three conventions reads line by line. A
// UTF-8 byte-order mark at the very start is skipped. A line longer than
// kMaxLineBytes is refused (std::length_error) without reading the rest of
// it, so an endless line can't eat up the memory.
class ScriptLines {
public:
    static constexpr std::size_t kMaxLineBytes = 64 * 1024;

    explicit ScriptLines(std::istream& in) : in_(in) {}
    // The next line without its ending; false at the end of the script.
    bool next(std::string& line);

private:
    std::istream& in_;
    bool started_ = false;
};

using sim::EscapeControls;

}  // namespace qx::scenario
