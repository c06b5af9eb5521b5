#include "platform/runtime/numbers.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdlib>

#include "platform/runtime/errors.h"

namespace qx {

double RoundHalfEven(double value) {
    // Adding 2^52 leaves no bits for a fraction, so the sum is rounded to a
    // whole number in the default mode, to nearest with ties to even. This
    // runs for every control at every sync; MinGW's nearbyint clears the
    // processor's exception flags with a slow x87 instruction each call.
    constexpr double kNoFractionBits = 4503599627370496.0;  // 2^52
    const double magnitude = std::fabs(value);
    if (!(magnitude < kNoFractionBits)) return value;  // already whole, infinite or NaN
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
    // x87 sums carry more bits than a double: store it as one to round it.
    volatile double sum = magnitude + kNoFractionBits;
#else
    const double sum = magnitude + kNoFractionBits;
#endif
    return std::copysign(sum - kNoFractionBits, value);
}

std::int16_t CInt(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0)) throw RuntimeError(ErrorCode::Overflow, "Overflow");
    return static_cast<std::int16_t>(r);
}

std::int32_t CLng(double value) {
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeError(ErrorCode::Overflow, "Overflow");
    return static_cast<std::int32_t>(r);
}

std::int32_t CLngOr(double value, std::int32_t fallback) {
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return fallback;
    return static_cast<std::int32_t>(r);
}

double CDbl(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        throw RuntimeError(ErrorCode::TypeMismatch, "Type mismatch");
    }
    return value;
}

std::string WholeText(long long value) { return std::to_string(value); }

namespace {

// Room for any double written in plain decimals: the largest has 309 digits,
// the smallest non-zero one 323 zeros after the point before its digit.
constexpr std::size_t kPlainDecimalRoom = 400;

// `value` (finite, not zero) in plain decimals made of its shortest exact
// digits: 1e64 is a one and 64 zeros, 1e-62 a point, 61 zeros and a one.
// Returns the length written into `buf`, which holds kPlainDecimalRoom bytes.
std::size_t PlainDecimal(double value, char* buf) {
    char sci[32];  // "-d.dddddddddddddddde-308" at most
    auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific);
    if (res.ec != std::errc()) return 0;  // cannot happen: 24 bytes always do
    const std::string_view text(sci, static_cast<std::size_t>(res.ptr - sci));
    const std::size_t e = text.find('e');
    std::size_t n = 0;
    if (text.front() == '-') buf[n++] = '-';
    char digits[24];
    std::size_t count = 0;
    for (char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9') digits[count++] = c;
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    const long point = static_cast<long>(exponent) + 1;  // digits before the decimal point
    if (point <= 0) {
        buf[n++] = '0';
        buf[n++] = '.';
        for (long i = 0; i < -point; ++i) buf[n++] = '0';
        for (std::size_t i = 0; i < count; ++i) buf[n++] = digits[i];
    } else {
        for (long i = 0; i < point || static_cast<std::size_t>(i) < count; ++i) {
            if (i == point) buf[n++] = '.';
            buf[n++] = static_cast<std::size_t>(i) < count ? digits[i] : '0';
        }
    }
    return n;
}

void AppendGrouped(std::string_view digits, std::string_view separator, std::string& out) {
    for (std::size_t i = 0; i < digits.size(); ++i) {
        out.push_back(digits[i]);
        const std::size_t left = digits.size() - 1 - i;
        if (left > 0 && left % 3 == 0) out.append(separator);
    }
}

}  // namespace

void FormatThousands(double value, std::string_view separator, std::string& out) {
    double r = std::round(value);  // halves away from zero
    if (r == 0) r = 0;             // no "-0"
    if (!std::isfinite(r)) {
        char buf[8];
        auto res = std::to_chars(buf, buf + sizeof buf, r);
        out.append(buf, res.ec == std::errc() ? res.ptr : buf);
        return;
    }
    const bool negative = r < 0;
    if (std::fabs(r) >= 1e18) {
        char buf[kPlainDecimalRoom];
        const std::size_t length = PlainDecimal(std::fabs(r), buf);
        if (negative) out.push_back('-');
        AppendGrouped(std::string_view(buf, length), separator, out);
        return;
    }
    unsigned long long n = static_cast<unsigned long long>(std::fabs(r));
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (negative) out.push_back('-');
    for (int i = count - 1; i >= 0; --i) {
        out.push_back(digits[i]);
        if (i > 0 && i % 3 == 0) out.append(separator);
    }
}

std::string ShortestText(double value) {
    if (value == 0) return "0";
    if (!std::isfinite(value)) {
        char buf[8];
        auto res = std::to_chars(buf, buf + sizeof buf, value);
        return std::string(buf, res.ec == std::errc() ? res.ptr : buf);
    }
    // Plain decimals for every magnitude, never an exponent: a tag written
    // back this way reads again as the same number.
    char buf[kPlainDecimalRoom];
    return std::string(buf, PlainDecimal(value, buf));
}

}  // namespace qx
