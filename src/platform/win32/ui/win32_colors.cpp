#include "platform/win32/ui/win32_colors.h"

namespace qx::win32ui {

namespace {
constexpr std::uint32_t kSystemBit = 0x80000000u;
}

bool isSystemColor(std::uint32_t color) { return (color & kSystemBit) != 0; }

COLORREF toColorRef(std::uint32_t color) {
    if (isSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

}  // namespace qx::win32ui
