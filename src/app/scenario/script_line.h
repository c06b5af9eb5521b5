// One line of a quendax-sim script split into words; a word in double
// quotes may hold blanks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::scenario {

struct ScriptLine {
    std::string command;
    std::vector<std::string> args;
    std::string rest;  // everything after the command, as written
};

// nullopt for a blank line or a comment; throws std::invalid_argument for an
// unclosed quote.
std::optional<ScriptLine> parseLine(std::string_view line);

// "key=value" into its two halves; nullopt without "=".
std::optional<std::pair<std::string, std::string>> splitAssignment(std::string_view word);

}  // namespace qx::scenario
