// An off-screen bitmap in a memory device context: a window paints into it
// and copies it to the screen in one BitBlt, so a repaint ten times a second
// never shows the erased background in between.
#pragma once

#include <windows.h>

namespace qx::win32ui {

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Makes the buffer at least `width` x `height`, compatible with
    // `reference`; false when GDI can't. The bitmap only grows, so a window
    // being resized doesn't reallocate on every step.
    bool prepare(HDC reference, int width, int height);
    HDC dc() const { return dc_; }
    // Copies `area` of the buffer to the same place on `target`.
    void copyTo(HDC target, const RECT& area) const;

private:
    void release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace qx::win32ui
