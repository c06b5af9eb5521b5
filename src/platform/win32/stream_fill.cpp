#include "platform/win32/stream_fill.h"

#include <emmintrin.h>

#include "platform/fill/sse2_spaces.h"

namespace qx::win32 {

void streamSpaces(char16_t* first, std::size_t count) noexcept {
    fill::sse2Spaces<fill::storeStreaming>(first, count);
    _mm_sfence();
}

}  // namespace qx::win32
