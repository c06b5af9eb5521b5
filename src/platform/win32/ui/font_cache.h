// The fonts of a window's controls: the system's message font (the face
// dialogs use) at a point size, regular or bold, made for one DPI. Fonts live as long as the
// cache; a DPI change asks for new ones and the old are freed with the cache.
#pragma once

#include <windows.h>

#include <vector>

namespace qx::win32ui {

inline constexpr double kDefaultFontPoints = 8.0;

class FontCache {
public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font of `points` size at `dpi`; nullptr only if GDI can't make one.
    HFONT font(double points, UINT dpi, bool bold = false);

private:
    struct Entry {
        double points;
        UINT dpi;
        bool bold;
        HFONT font;
    };
    std::vector<Entry> entries_;
};

}  // namespace qx::win32ui
