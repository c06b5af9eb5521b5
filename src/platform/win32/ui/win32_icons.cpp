#include "platform/win32/ui/win32_icons.h"

#include "platform/win32/resources/resource_ids.h"

namespace qx::win32ui {

IconCache::~IconCache() {
    for (const Entry& e : entries_) DestroyIcon(e.icon);
}

HICON IconCache::icon(std::string_view name, int sizePixels) {
    int id = 0;
    if (name == "app") id = QX_ICON_APP;
    if (name == "warning") id = QX_ICON_WARNING;
    if (id == 0) return nullptr;
    for (const Entry& e : entries_) {
        if (e.name == name && e.size == sizePixels) return e.icon;
    }
    HANDLE image = LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, sizePixels, sizePixels, LR_DEFAULTCOLOR);
    if (!image) return nullptr;
    entries_.push_back({std::string(name), sizePixels, static_cast<HICON>(image)});
    return entries_.back().icon;
}

}  // namespace qx::win32ui
