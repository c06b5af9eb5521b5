// The number rules both ways: texts read as numbers (CDbl), numbers written
// as texts (ShortestText, FormatThousands), and the integer conversions.
// A number written and read again is the same number; a text holds no byte
// that was not written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/runtime/errors.h"
#include "platform/runtime/numbers.h"

namespace {

bool PlainDecimal(const std::string& text) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0))) return false;
    }
    return true;
}

void CheckWriting(double v) {
    const std::string text = qx::ShortestText(v);
    if (std::isfinite(v)) {
        if (!PlainDecimal(text)) std::abort();
        if (qx::CDbl(text) != v && !(v == 0 && text == "0")) std::abort();
    } else if (text != "inf" && text != "-inf" && text != "nan" && text != "-nan") {
        std::abort();
    }
    std::string grouped;
    qx::FormatThousands(v, ",", grouped);
    if (std::isfinite(v)) {
        for (std::size_t i = 0; i < grouped.size(); ++i) {
            const char c = grouped[i];
            if (!((c >= '0' && c <= '9') || c == ',' || (c == '-' && i == 0))) std::abort();
        }
    }
    try {
        const std::int32_t n = qx::CLng(v);
        if (n != qx::RoundHalfEven(v)) std::abort();
    } catch (const qx::RuntimeError& e) {
        if (e.code() != qx::ErrorCode::Overflow) std::abort();
        if (std::fabs(qx::RoundHalfEven(v)) <= 2147483647.0) std::abort();
    }
    try {
        const std::int16_t n = qx::CInt(v);
        if (n != qx::RoundHalfEven(v)) std::abort();
    } catch (const qx::RuntimeError& e) {
        if (e.code() != qx::ErrorCode::Overflow) std::abort();
    }
    const std::int32_t fallback = qx::CLngOr(v, 17);
    (void)fallback;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Text to number to text.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const double v = qx::CDbl(text);
        if (!std::isfinite(v)) std::abort();
        CheckWriting(v);
        CheckWriting(v - 1);  // the quit countdown's step
    } catch (const qx::RuntimeError& e) {
        if (e.code() != qx::ErrorCode::TypeMismatch) std::abort();
    }
    // Every bit pattern as a number.
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        CheckWriting(v);
    }
    return 0;
}
