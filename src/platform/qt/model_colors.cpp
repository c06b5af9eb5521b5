#include "platform/qt/model_colors.h"

namespace qx::qt {

namespace {
constexpr std::uint32_t kSystemBit = 0x80000000u;
constexpr int kWindowBackground = 5;
constexpr int kWindowText = 8;
constexpr int kButtonFace = 15;
constexpr int kButtonText = 18;
}  // namespace

bool isSystemColor(std::uint32_t color) { return (color & kSystemBit) != 0; }

QPalette::ColorRole systemColorRole(std::uint32_t color) {
    switch (color & 0xFF) {
        case kWindowBackground: return QPalette::Base;
        case kWindowText: return QPalette::Text;
        case kButtonFace: return QPalette::Button;
        case kButtonText: return QPalette::ButtonText;
        default: return QPalette::Window;
    }
}

QColor toQColor(std::uint32_t color, const QPalette& palette) {
    if (isSystemColor(color)) return palette.color(systemColorRole(color));
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace qx::qt
