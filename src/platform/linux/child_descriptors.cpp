#include "platform/linux/child_descriptors.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace qx::linuxos {

namespace {

// Closes the descriptors from `first` to `last`, both included.
void closeRange(unsigned first, unsigned last) {
    if (first > last) return;
#if defined(SYS_close_range)
    if (::syscall(SYS_close_range, first, last, 0) == 0) return;
#endif
    // Kernels before 5.9: one by one, up to the descriptor limit.
    rlimit limit{};
    unsigned top = 65536;
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < top) {
        top = static_cast<unsigned>(limit.rlim_cur);
    }
    for (unsigned fd = first; fd <= last && fd < top; ++fd) ::close(static_cast<int>(fd));
}

// Moves `fd` to 3 or above. -1 if it can't be moved (`fd` is closed then).
int liftAbove2(int fd) {
    if (fd > 2) return fd;
    const int lifted = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return lifted;
}

}  // namespace

bool openPipeAbove2(int ends[2]) {
    if (::pipe2(ends, O_CLOEXEC) != 0) return false;
    ends[0] = liftAbove2(ends[0]);
    ends[1] = liftAbove2(ends[1]);
    if (ends[0] >= 0 && ends[1] >= 0) return true;
    if (ends[0] >= 0) ::close(ends[0]);
    if (ends[1] >= 0) ::close(ends[1]);
    return false;
}

bool keepOnlyDescriptors(int a, int b) {
    const unsigned low = static_cast<unsigned>(a < b ? a : b);
    const unsigned high = static_cast<unsigned>(a < b ? b : a);
    closeRange(3, low - 1);
    closeRange(low + 1, high - 1);
    closeRange(high + 1, ~0u);
    const int null = ::open("/dev/null", O_RDWR);
    if (null < 0) return false;
    for (int fd = 0; fd <= 2; ++fd) {
        if (null != fd && ::dup2(null, fd) != fd) return false;
    }
    if (null > 2) ::close(null);
    return true;
}

}  // namespace qx::linuxos
