#include "platform/win32/parallel_fill.h"

#include <algorithm>

#include <windows.h>

#include "platform/win32/stream_fill.h"

namespace qx::win32 {

namespace {

constexpr unsigned kMostThreads = 8;
constexpr std::size_t kLeastBytesPerThread = std::size_t{32} << 20;
// Shares start on 64 KiB boundaries, so no two threads write the same page.
constexpr std::size_t kShareUnit = (std::size_t{64} << 10) / sizeof(char16_t);

struct Share {
    char16_t* first;
    std::size_t count;
};

DWORD WINAPI writeShare(void* parameter) {
    const auto* share = static_cast<const Share*>(parameter);
    streamSpaces(share->first, share->count);
    return 0;
}

}  // namespace

unsigned fillThreadsFor(std::size_t bytes, unsigned processors) {
    const std::size_t byVolume = std::max<std::size_t>(1, bytes / kLeastBytesPerThread);
    return static_cast<unsigned>(std::min<std::size_t>({byVolume, std::max(processors, 1u), kMostThreads}));
}

void fillSpacesInParallel(char16_t* first, std::size_t count, unsigned threads) noexcept {
    threads = std::clamp(threads, 1u, kMostThreads);
    std::size_t share = (count / threads + kShareUnit - 1) / kShareUnit * kShareUnit;
    if (threads == 1 || share == 0 || share >= count) {
        streamSpaces(first, count);
        return;
    }
    Share shares[kMostThreads] = {};
    HANDLE handles[kMostThreads] = {};
    unsigned started = 0;
    std::size_t done = 0;
    // Every share but the last goes to a helper thread; the caller writes
    // the last one, and any share whose thread didn't start.
    for (unsigned i = 0; i + 1 < threads && done + share < count; ++i) {
        shares[i] = Share{first + done, share};
        handles[started] = ::CreateThread(nullptr, 64 * 1024, writeShare, &shares[i],
                                          STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        if (handles[started] != nullptr) {
            ++started;
        } else {
            streamSpaces(shares[i].first, shares[i].count);
        }
        done += share;
    }
    streamSpaces(first + done, count - done);
    if (started != 0) ::WaitForMultipleObjects(started, handles, TRUE, INFINITE);
    for (unsigned i = 0; i < started; ++i) ::CloseHandle(handles[i]);
}

unsigned usableProcessors() noexcept {
    DWORD_PTR process = 0, system = 0;
    if (!::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) || process == 0) return 1;
    unsigned count = 0;
    for (; process != 0; process &= process - 1) ++count;
    return count;
}

}  // namespace qx::win32
