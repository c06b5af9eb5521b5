#include "platform/win32/stream_fill.h"

#include <cstdint>

#include <emmintrin.h>

namespace qx::win32 {

void streamSpaces(char16_t* first, std::size_t count) noexcept {
    constexpr std::uintptr_t kVector = 16;
    constexpr std::size_t kPerVector = kVector / sizeof(char16_t);

    while (count != 0 && reinterpret_cast<std::uintptr_t>(first) % kVector != 0) {
        *first++ = u' ';
        --count;
    }
    const __m128i spaces = _mm_set1_epi16(0x0020);
    auto* vectors = reinterpret_cast<__m128i*>(first);
    std::size_t whole = count / kPerVector;
    for (; whole >= 4; whole -= 4, vectors += 4) {
        _mm_stream_si128(vectors + 0, spaces);
        _mm_stream_si128(vectors + 1, spaces);
        _mm_stream_si128(vectors + 2, spaces);
        _mm_stream_si128(vectors + 3, spaces);
    }
    for (; whole != 0; --whole) _mm_stream_si128(vectors++, spaces);
    _mm_sfence();
    first = reinterpret_cast<char16_t*>(vectors);
    for (std::size_t i = 0; i < count % kPerVector; ++i) first[i] = u' ';
}

}  // namespace qx::win32
