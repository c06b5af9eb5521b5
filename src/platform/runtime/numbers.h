// The program's number rules in one place: rounding halves to even, the 16-
// and 32-bit conversions with range checks, numbers read from texts, and the
// "###,##0" figure format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx {

// Nearest integer, halves to the even neighbour (1806.5 -> 1806, 1807.5 -> 1808).
double RoundHalfEven(double value);

// Rounded to a 16-bit integer; Overflow outside -32768..32767 (and for NaN).
std::int16_t CInt(double value);
// Rounded to a 32-bit integer; Overflow outside the 32-bit range (and for NaN).
std::int32_t CLng(double value);
// Rounded to a 32-bit integer; a value that doesn't fit gives `fallback`.
std::int32_t CLngOr(double value, std::int32_t fallback);

// A decimal number written as text, blanks around it allowed; TypeMismatch
// for anything else (empty text, letters, "1e"). Timer tags are read with it.
double CDbl(std::string_view text);

// A whole number as plain decimal text ("3", "-1", "0").
std::string WholeText(long long value);

// `value` rounded to a whole number (halves away from zero), written with at
// least one digit and `separator` between groups of three: 1234.4 -> "1,234",
// at any magnitude; "inf", "-inf" or "nan" for what is not a number.
// Appends to `out` without allocating when it has room.
void FormatThousands(double value, std::string_view separator, std::string& out);

// The shortest decimal text that reads back as exactly `value`
// (903.75, 904, 0.25), in plain decimals whatever the magnitude (1e64 is a
// one and 64 zeros); "inf", "-inf" and "nan" for what is not a number.
std::string ShortestText(double value);

}  // namespace qx
