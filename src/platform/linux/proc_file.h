// A kernel file kept open for the life of the object and read from the start
// each time, so a sample costs one pread() instead of open, read and close.
#pragma once

#include <cstddef>
#include <string_view>

namespace qx::linuxos {

class ProcFile {
public:
    // Opens `path` for reading. A file that can't be opened makes every
    // read() fail; it is not tried again.
    explicit ProcFile(const char* path);
    ~ProcFile();
    ProcFile(const ProcFile&) = delete;
    ProcFile& operator=(const ProcFile&) = delete;

    // Reads the file from its start into `buffer`, which is not terminated.
    // Returns the bytes read, at most `capacity`; empty when the read failed.
    // One pread(): the kernel builds the whole text for that one call, so the
    // bytes are a consistent snapshot, cut off at `capacity` if longer.
    std::string_view read(char* buffer, std::size_t capacity) const;

private:
    int fd_;
};

}  // namespace qx::linuxos
