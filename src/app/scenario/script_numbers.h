// Numbers written in quendax-sim scripts. Each is checked before use: what
// is not a finite number, or lies outside what its command takes, is refused
// with std::invalid_argument naming the value, never converted blindly.
#pragma once

#include <cstdint>
#include <string_view>

namespace qx::scenario {

// The most virtual time one command may ask for (advance, msgbox-hold): one
// hour, so that no script line can keep the simulator busy for long.
inline constexpr double kMaxStepMs = 3'600'000;

// A finite decimal number ("nan", "inf" and "1e999" are refused).
double ScriptNumber(std::string_view text);

// A finite number from `lowest` to `highest`; `what` names it in the refusal.
double ScriptNumberIn(std::string_view what, std::string_view text, double lowest, double highest);

// A whole count of 64 bits (bytes, processor time): digits are read exactly
// up to 18446744073709551615; a decimal form is taken when it is below 2^64,
// its fraction dropped. `key` names it in the refusal.
std::uint64_t ScriptCount(std::string_view key, std::string_view text);

}  // namespace qx::scenario
