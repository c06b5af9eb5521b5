#include "app/scenario/script_numbers.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "app/scenario/model_properties.h"
#include "platform/runtime/numbers.h"

namespace qx::scenario {

namespace {
bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}
}  // namespace

double ScriptNumber(std::string_view text) {
    auto n = parseNumber(text);
    if (n) return *n;
    double v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (!text.empty() && ptr == text.data() + text.size() && (ec == std::errc::result_out_of_range ||
                                                              (ec == std::errc() && !std::isfinite(v)))) {
        throw std::invalid_argument("not a finite number: " + std::string(text));
    }
    throw std::invalid_argument("not a number: " + std::string(text));
}

double ScriptNumberIn(std::string_view what, std::string_view text, double lowest, double highest) {
    const double v = ScriptNumber(text);
    if (v < lowest || v > highest) {
        throw std::invalid_argument(std::string(what) + " must be from " + ShortestText(lowest) + " to " +
                                    ShortestText(highest) + ": " + std::string(text));
    }
    return v;
}

std::uint64_t ScriptCount(std::string_view key, std::string_view text) {
    const std::string refusal = "bad value for " + std::string(key) + ": " + std::string(text) +
                                " (a whole number from 0 to 18446744073709551615)";
    if (AllDigits(text)) {
        std::uint64_t v = 0;
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || ptr != text.data() + text.size()) throw std::invalid_argument(refusal);
        return v;
    }
    auto n = parseNumber(text);
    // 18446744073709551616.0 is 2^64, the first value a 64-bit count can't hold.
    if (!n || !(*n >= 0 && *n < 18446744073709551616.0)) throw std::invalid_argument(refusal);
    return static_cast<std::uint64_t>(*n);
}

}  // namespace qx::scenario
