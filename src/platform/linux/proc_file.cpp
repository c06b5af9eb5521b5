#include "platform/linux/proc_file.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace qx::linuxos {

ProcFile::ProcFile(const char* path) : fd_(::open(path, O_RDONLY | O_CLOEXEC)) {}

ProcFile::~ProcFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::string_view ProcFile::read(char* buffer, std::size_t capacity) const {
    if (fd_ < 0) return {};
    ssize_t got;
    do {
        got = ::pread(fd_, buffer, capacity, 0);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return {};
    return {buffer, static_cast<std::size_t>(got)};
}

}  // namespace qx::linuxos
