#include "platform/win32/ui/font_cache.h"

#include "platform/runtime/numbers.h"

namespace qx::win32ui {

FontCache::~FontCache() {
    for (const Entry& e : entries_) DeleteObject(e.font);
}

HFONT FontCache::font(double points, UINT dpi, bool bold) {
    for (const Entry& e : entries_) {
        if (e.points == points && e.dpi == dpi && e.bold == bold) return e.font;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW face{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        face = metrics.lfMessageFont;
    } else {
        lstrcpynW(face.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
        face.lfCharSet = DEFAULT_CHARSET;
    }
    face.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    // A negative height asks for the character height, as point sizes mean.
    face.lfHeight = -static_cast<LONG>(RoundHalfEven(points * dpi / 72.0));
    face.lfWidth = 0;
    HFONT made = CreateFontIndirectW(&face);
    if (made) entries_.push_back({points, dpi, bold, made});
    return made;
}

}  // namespace qx::win32ui
