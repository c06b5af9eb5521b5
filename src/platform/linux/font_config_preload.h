// The font configuration read ahead. The first text a program measures
// makes fontconfig read its configuration (dozens of files) and its caches,
// some milliseconds on the window's thread just before the first frame. A
// program that starts this while the toolkit connects to the display gets
// it read meanwhile, on a thread of its own.
#pragma once

#include <thread>

namespace qx::linuxos {

class FontConfigPreload {
public:
    FontConfigPreload();   // starts reading; without a thread, the toolkit reads it later
    ~FontConfigPreload();  // waits until it is read
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Waits until it is read, so that the toolkit doesn't read it a second
    // time alongside.
    void wait();

private:
    std::thread thread_;
};

}  // namespace qx::linuxos
