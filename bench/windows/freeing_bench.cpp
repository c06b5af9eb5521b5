// The freeing run on Windows (commit with VirtualAlloc, write with streaming
// stores by one thread per processor, release) against this machine's
// floor: the same block committed the same way (in the same pieces), one
// byte of each 4 KiB page touched by the same number of threads, and
// released. Beside it, for information, the plain fill of the same block, a
// text of the same number of spaces built with std::u16string(L, u' '),
// which allocates on the heap and writes character by character.
//
// Sizes: 1 GiB and the block the program would take on this machine (a
// quarter of physical memory; a 32-bit program holds what its address
// space can). Rates in GB/s of block bytes; the contenders take turns in
// every round, in a rotating order, and medians are compared.
//
//   qx_win32_freeing_bench [--rounds N] [--explore] [MIB ...]
// --explore: after the figures, other ways of writing the block against the
// floor on the first size, to see where the run's time goes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <windows.h>
#include <xmmintrin.h>

#include "bench_timing.h"
#include "platform/fill/sse2_spaces.h"
#include "platform/win32/freeing_plan.h"
#include "platform/win32/parallel_fill.h"
#include "platform/win32/win32_freeing.h"

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::size_t kPage = 4096;

double rate(std::uint64_t bytes, double seconds) { return static_cast<double>(bytes) / seconds / 1e9; }

// The characters of the program's block: 1,048,576 for every whole 8 MB of
// physical memory.
std::uint64_t programBlockCharacters() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status)) return 0;
    const double megabytes = static_cast<double>(status.ullTotalPhys) / 1048576.0;
    return static_cast<std::uint64_t>(std::nearbyint(megabytes)) / 8 * 1048576u;
}

double timeRun(qx::win32::Win32Freeing& freeing, std::uint64_t characters) {
    const double start = qx::bench::nowSeconds();
    const bool ok = freeing.createBlock(characters);
    freeing.releaseBlock();
    const double seconds = qx::bench::nowSeconds() - start;
    if (!ok) {
        std::fprintf(stderr, "the freeing run refused a block of %llu characters\n",
                     static_cast<unsigned long long>(characters));
        std::exit(2);
    }
    return seconds;
}

// Work on a share of a block: `bytes` from `first` on.
using ShareWork = void (*)(char* first, std::size_t bytes);

struct Share {
    char* first;
    std::size_t bytes;
    ShareWork work;
};

DWORD WINAPI runShare(void* parameter) {
    const auto* share = static_cast<const Share*>(parameter);
    share->work(share->first, share->bytes);
    return 0;
}

// `work` on `bytes` from `first` on, split among `threads` threads on 64 KiB
// boundaries, the calling one included.
void inParallel(char* first, std::size_t bytes, unsigned threads, ShareWork work) {
    constexpr std::size_t kUnit = 64 * 1024;
    const std::size_t share = (bytes / threads + kUnit - 1) / kUnit * kUnit;
    std::vector<Share> shares;
    std::vector<HANDLE> handles;
    std::size_t done = 0;
    shares.reserve(threads);
    for (unsigned i = 0; i + 1 < threads && share != 0 && done + share < bytes; ++i, done += share) {
        shares.push_back(Share{first + done, share, work});
        HANDLE thread = ::CreateThread(nullptr, 64 * 1024, runShare, &shares.back(),
                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        if (thread != nullptr) {
            handles.push_back(thread);
        } else {
            work(first + done, share);
        }
    }
    work(first + done, bytes - done);
    if (!handles.empty()) ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), TRUE, INFINITE);
    for (HANDLE thread : handles) ::CloseHandle(thread);
}

void touchPages(char* first, std::size_t bytes) {
    volatile char* page = first;
    for (std::size_t at = 0; at < bytes; at += kPage) page[at] = 1;
}

// The floor: the same bytes committed in the same pieces, every page
// touched by as many threads as the run writes each piece with (or
// `threads`), released.
double timeFloor(std::uint64_t bytes, bool wideAddressSpace, unsigned threads = 0) {
    const unsigned processors = threads != 0 ? threads : qx::win32::usableProcessors();
    std::uint64_t piece = qx::win32::firstPieceBytes(bytes, wideAddressSpace);
    std::vector<void*> pieces;
    const double start = qx::bench::nowSeconds();
    for (std::uint64_t remaining = bytes; remaining != 0;) {
        const auto size = static_cast<std::size_t>(std::min(piece, remaining));
        void* memory = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (memory == nullptr && !wideAddressSpace && piece > qx::win32::kSmallestPiece) {
            piece /= 2;  // as the run does in a fragmented 32-bit address space
            continue;
        }
        if (memory == nullptr) {
            std::fprintf(stderr, "the floor couldn't commit %llu bytes\n", static_cast<unsigned long long>(size));
            std::exit(2);
        }
        pieces.push_back(memory);
        inParallel(static_cast<char*>(memory), size, qx::win32::fillThreadsFor(size, processors), touchPages);
        remaining -= size;
    }
    for (void* memory : pieces) ::VirtualFree(memory, 0, MEM_RELEASE);
    return qx::bench::nowSeconds() - start;
}

// Other ways of writing the block, to see where the run's time goes.
void ordinarySpaces(char* first, std::size_t bytes) {
    qx::fill::sse2Spaces<qx::fill::storeOrdinary>(reinterpret_cast<char16_t*>(first), bytes / 2);
}
// The pages of 1 MiB touched first, then written with streaming stores.
void touchThenStream(char* first, std::size_t bytes) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    for (std::size_t at = 0; at < bytes; at += kChunk) {
        const std::size_t size = std::min(kChunk, bytes - at);
        touchPages(first + at, size);
        qx::fill::sse2Spaces<qx::fill::storeStreaming>(reinterpret_cast<char16_t*>(first + at), size / 2);
    }
    _mm_sfence();
}
// The next page touched before each page is written, so its fault is taken
// while the stores of this one drain.
void touchAheadStream(char* first, std::size_t bytes) {
    for (std::size_t at = 0; at < bytes; at += kPage) {
        if (at + kPage < bytes) static_cast<volatile char*>(first)[at + kPage] = 1;
        qx::fill::sse2Spaces<qx::fill::storeStreaming>(reinterpret_cast<char16_t*>(first + at),
                                                       std::min(kPage, bytes - at) / 2);
    }
    _mm_sfence();
}
// Each page read ahead one page before it is written.
void prefetchedStream(char* first, std::size_t bytes) {
    for (std::size_t at = 0; at < bytes; at += kPage) {
        if (at + kPage < bytes) _mm_prefetch(first + at + kPage, _MM_HINT_T0);
        qx::fill::sse2Spaces<qx::fill::storeStreaming>(reinterpret_cast<char16_t*>(first + at),
                                                       std::min(kPage, bytes - at) / 2);
    }
    _mm_sfence();
}

// The run's commits and releases, timed.
double gCommitSeconds = 0, gReleaseSeconds = 0;
void* timedCommit(std::size_t bytes) {
    const double start = qx::bench::nowSeconds();
    void* memory = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    gCommitSeconds += qx::bench::nowSeconds() - start;
    return memory;
}
void timedRelease(void* memory) {
    const double start = qx::bench::nowSeconds();
    ::VirtualFree(memory, 0, MEM_RELEASE);
    gReleaseSeconds += qx::bench::nowSeconds() - start;
}

template <ShareWork Work>
void fillWith(char16_t* first, std::size_t count, unsigned threads) {
    inParallel(reinterpret_cast<char*>(first), count * 2, threads, Work);
}

// The plain fill; 0 when the address space has no room for it in one piece
// (a 32-bit program and a block of several GiB).
double timeString(std::uint64_t characters, std::uint64_t& check) {
    if (characters > SIZE_MAX / 2) return 0;
    const double start = qx::bench::nowSeconds();
    try {
        std::u16string block(static_cast<std::size_t>(characters), u' ');
        check += block[block.size() / 2];
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
    return qx::bench::nowSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    bool explore = false;
    std::vector<std::uint64_t> characterCounts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--explore") == 0) {
            explore = true;
        } else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else {
            characterCounts.push_back(std::strtoull(argv[i], nullptr, 10) * kMiB / 2);
        }
    }
    if (characterCounts.empty()) characterCounts = {1024 * kMiB / 2, programBlockCharacters()};

    qx::win32::Win32Freeing freeing;
    const bool wide = sizeof(void*) == 8;
    std::uint64_t check = 1;
    std::printf("%d-bit program, processors usable: %u\n", wide ? 64 : 32, qx::win32::usableProcessors());
    std::printf("medians of %d rounds, GB/s       Run    Floor   Run/Floor   String   Run/String\n", rounds);
    for (const std::uint64_t characters : characterCounts) {
        // Warm up, and learn how much of the block this program holds.
        timeRun(freeing, characters);
        if (!freeing.createBlock(characters)) return 2;
        const std::uint64_t bytes = freeing.heldBytes();
        freeing.releaseBlock();

        std::vector<double> run, floor, string;
        const std::function<void()> contenders[] = {
            [&] { run.push_back(rate(bytes, timeRun(freeing, characters))); },
            [&] { floor.push_back(rate(bytes, timeFloor(bytes, wide))); },
            [&] {
                const double seconds = timeString(characters, check);
                if (seconds > 0) string.push_back(rate(characters * 2, seconds));
            },
        };
        for (int round = 0; round < rounds; ++round) {
            for (int turn = 0; turn < 3; ++turn) contenders[(round + turn) % 3]();
        }
        const double r = qx::bench::median(run), f = qx::bench::median(floor), s = qx::bench::median(string);
        char asked[64];
        std::snprintf(asked, sizeof asked, "%llu MiB block", static_cast<unsigned long long>(characters * 2 / kMiB));
        if (bytes != characters * 2) {
            std::snprintf(asked + std::strlen(asked), sizeof asked - std::strlen(asked), " (holds %llu)",
                          static_cast<unsigned long long>(bytes / kMiB));
        }
        if (s > 0) {
            std::printf("%-30s %7.2f  %7.2f  %9.2fx  %7.2f  %10.2fx\n", asked, r, f, f / r, s, r / s);
        } else {
            std::printf("%-30s %7.2f  %7.2f  %9.2fx        -  (no room)\n", asked, r, f, f / r);
        }
    }
    std::printf("(Run/Floor: the run's time over the floor's; goal: at most 1.3x)\n");
    if (!explore) return check == 0 ? 3 : 0;

    // Where the time goes, on the first size: ways of writing the block,
    // each against the floor in the same rounds.
    const std::uint64_t characters = characterCounts.front();
    struct Variant {
        const char* name;
        qx::win32::Win32Freeing::Calls calls;
        unsigned floorThreads;
    };
    auto calls = [](void (*fill)(char16_t*, std::size_t, unsigned), unsigned threads) {
        qx::win32::Win32Freeing::Calls c;
        c.fill = fill;
        c.maxFillThreads = threads;
        c.commit = timedCommit;
        c.release = timedRelease;
        return c;
    };
    const Variant variants[] = {
        {"the run (streaming stores)", calls(nullptr, 0), 0},
        {"one thread, floor one too", calls(nullptr, 1), 1},
        {"ordinary stores", calls(fillWith<ordinarySpaces>, 0), 0},
        {"touch 1 MiB, then stream it", calls(fillWith<touchThenStream>, 0), 0},
        {"touch the next page first", calls(fillWith<touchAheadStream>, 0), 0},
        {"prefetch the next page", calls(fillWith<prefetchedStream>, 0), 0},
    };
    std::printf("where the time goes, %llu MiB; medians, GB/s   Run    Floor   Run/Floor  commit%%  release%%\n",
                static_cast<unsigned long long>(characters * 2 / kMiB));
    for (const Variant& variant : variants) {
        qx::win32::Win32Freeing way(variant.calls);
        timeRun(way, characters);
        if (!way.createBlock(characters)) return 2;
        const std::uint64_t bytes = way.heldBytes();
        way.releaseBlock();
        std::vector<double> run, floor, commitShare, releaseShare;
        for (int round = 0; round < rounds; ++round) {
            for (int turn = 0; turn < 2; ++turn) {
                if ((round + turn) % 2 == 0) {
                    gCommitSeconds = gReleaseSeconds = 0;
                    const double seconds = timeRun(way, characters);
                    run.push_back(rate(bytes, seconds));
                    commitShare.push_back(100 * gCommitSeconds / seconds);
                    releaseShare.push_back(100 * gReleaseSeconds / seconds);
                } else {
                    floor.push_back(rate(bytes, timeFloor(bytes, wide, variant.floorThreads)));
                }
            }
        }
        const double r = qx::bench::median(run), f = qx::bench::median(floor);
        std::printf("  %-42s %7.2f  %7.2f  %9.2fx  %6.1f  %7.1f\n", variant.name, r, f, f / r,
                    qx::bench::median(commitShare), qx::bench::median(releaseShare));
    }
    return check == 0 ? 3 : 0;
}
