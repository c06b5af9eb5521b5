// The program's images from its own resources, by their model names ("app",
// "warning") at a size in pixels. Each size is loaded once and kept as long
// as the cache.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace qx::win32ui {

class IconCache {
public:
    explicit IconCache(HINSTANCE instance) : instance_(instance) {}
    ~IconCache();
    IconCache(const IconCache&) = delete;
    IconCache& operator=(const IconCache&) = delete;

    // nullptr for a name the program has no image for.
    HICON icon(std::string_view name, int sizePixels);

private:
    struct Entry {
        std::string name;
        int size;
        HICON icon;
    };
    HINSTANCE instance_;
    std::vector<Entry> entries_;
};

}  // namespace qx::win32ui
