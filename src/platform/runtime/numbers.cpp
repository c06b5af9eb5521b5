#include "platform/runtime/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/runtime/errors.h"

namespace qx {

double RoundHalfEven(double value) {
    return std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
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

void FormatThousands(double value, std::string_view separator, std::string& out) {
    double r = std::round(value);  // halves away from zero
    if (r == 0) r = 0;             // no "-0"
    if (!std::isfinite(r) || std::fabs(r) >= 1e18) {
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::fixed, 0);
        out.append(buf, res.ptr);
        return;
    }
    const bool negative = r < 0;
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
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    std::string text(buf, res.ptr);
    // to_chars may choose exponent form for very large or small numbers; keep
    // plain decimals for everything a figure can be.
    if (text.find('e') != std::string::npos) {
        res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
        text.assign(buf, res.ptr);
    }
    return text;
}

}  // namespace qx
