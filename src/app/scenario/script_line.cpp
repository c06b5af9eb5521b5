#include "app/scenario/script_line.h"

#include <stdexcept>

namespace qx::scenario {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::optional<ScriptLine> parseLine(std::string_view line) {
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return std::nullopt;

    ScriptLine out;
    std::vector<std::string> words;
    bool first = true;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        if (!first && out.rest.empty()) out.rest = std::string(line.substr(i));
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) throw std::invalid_argument("unclosed quote");
            word = std::string(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            while (i < line.size() && !isBlank(line[i])) word.push_back(line[i++]);
        }
        if (first) {
            out.command = std::move(word);
            first = false;
        } else {
            out.args.push_back(std::move(word));
        }
    }
    return out;
}

std::optional<std::pair<std::string, std::string>> splitAssignment(std::string_view word) {
    const std::size_t eq = word.find('=');
    if (eq == std::string_view::npos || eq == 0) return std::nullopt;
    return std::make_pair(std::string(word.substr(0, eq)), std::string(word.substr(eq + 1)));
}

}  // namespace qx::scenario
