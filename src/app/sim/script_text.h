// Reading a quendax-sim script as lines, and showing its text safely in
// error messages.
#pragma once

#include <istream>
#include <string>
#include <string_view>

namespace qx::simscript {

// Splits a script into lines. A line ends at "\n", "\r\n" or a lone "\r", so
// a script saved with any of the three conventions reads line by line. A
// UTF-8 byte-order mark at the very start is skipped.
class ScriptLines {
public:
    explicit ScriptLines(std::istream& in) : in_(in) {}
    // The next line without its ending; false at the end of the script.
    bool next(std::string& line);

private:
    std::istream& in_;
    bool started_ = false;
};

// `text` with every control byte written as an escape ("\r" as "\x0D", ESC as
// "\x1B"), as are bytes outside well-formed UTF-8 and the
// C1 control characters (U+0080 to U+009F), so that script text echoed into
// a message can't move the cursor, recolour or clear the terminal.
std::string EscapeControls(std::string_view text);

}  // namespace qx::simscript
