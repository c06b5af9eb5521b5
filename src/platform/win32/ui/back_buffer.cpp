#include "platform/win32/ui/back_buffer.h"

#include <algorithm>

namespace qx::win32ui {

BackBuffer::~BackBuffer() { release(); }

void BackBuffer::release() {
    if (dc_) {
        SelectObject(dc_, original_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    original_ = nullptr;
    width_ = height_ = 0;
}

bool BackBuffer::prepare(HDC reference, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (dc_ && width <= width_ && height <= height_) return true;
    const int newWidth = std::max(width, width_);
    const int newHeight = std::max(height, height_);
    release();
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = dc_ ? CreateCompatibleBitmap(reference, newWidth, newHeight) : nullptr;
    if (!bitmap_) {
        release();
        return false;
    }
    original_ = SelectObject(dc_, bitmap_);
    width_ = newWidth;
    height_ = newHeight;
    return true;
}

void BackBuffer::copyTo(HDC target, const RECT& area) const {
    if (!dc_) return;
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left, area.top,
           SRCCOPY);
}

}  // namespace qx::win32ui
