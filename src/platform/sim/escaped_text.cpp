#include "platform/sim/escaped_text.h"

namespace qx::sim {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], 0 if none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = byte(i);
    std::size_t n;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) n = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return n;
}

void AppendEscape(unsigned char b, std::string& out) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 15]);
}

}  // namespace

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if (b < 0x20 || b == 0x7F) AppendEscape(b, out); else out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        const std::size_t n = Utf8Length(text, i);
        const bool c1 = n == 2 && b == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (n == 0 || c1) {
            for (std::size_t k = 0; k < (c1 ? 2 : 1); ++k) AppendEscape(static_cast<unsigned char>(text[i + k]), out);
            i += c1 ? 2 : 1;
            continue;
        }
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace qx::sim
