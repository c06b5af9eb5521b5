// The SSE2 loop both freeing blocks are written with: single characters up
// to the first 16-byte boundary, then 16-byte stores of eight spaces, four a
// round, then the characters left over. `Store` is the store instruction,
// ordinary or streaming (the caller fences streaming stores). Writes `count`
// spaces from `first` on, and nothing outside them.
#pragma once

#include <cstddef>
#include <cstdint>

#include <emmintrin.h>

namespace qx::fill {

template <void (*Store)(__m128i*, __m128i)>
inline void sse2Spaces(char16_t* first, std::size_t count) noexcept {
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
        Store(vectors + 0, spaces);
        Store(vectors + 1, spaces);
        Store(vectors + 2, spaces);
        Store(vectors + 3, spaces);
    }
    for (; whole != 0; --whole) Store(vectors++, spaces);
    first = reinterpret_cast<char16_t*>(vectors);
    for (std::size_t i = 0; i < count % kPerVector; ++i) first[i] = u' ';
}

inline void storeOrdinary(__m128i* at, __m128i spaces) noexcept { _mm_store_si128(at, spaces); }
inline void storeStreaming(__m128i* at, __m128i spaces) noexcept { _mm_stream_si128(at, spaces); }

}  // namespace qx::fill
