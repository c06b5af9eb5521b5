// The freeing run on Windows (commit with VirtualAlloc, write with streaming
// stores by one thread per processor, release; and the same with one thread,
// Run1) against the plain fill of the same block: a text of the
// same number of spaces built with std::u16string(L, u' '), which allocates
// on the heap and writes character by character. Also the streaming write
// alone against a plain loop, both into memory already committed and
// touched.
//
// Rates in GB/s of block bytes; seven rounds per size, the contenders
// alternating in each; medians are compared.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "bench_timing.h"
#include "platform/win32/parallel_fill.h"
#include "platform/win32/stream_fill.h"
#include "platform/win32/win32_freeing.h"

namespace {

constexpr int kRounds = 7;

double rate(std::uint64_t bytes, double seconds) { return static_cast<double>(bytes) / seconds / 1e9; }

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

double timeString(std::uint64_t characters, std::uint64_t& check) {
    const double start = qx::bench::nowSeconds();
    {
        std::u16string block(static_cast<std::size_t>(characters), u' ');
        check += block[block.size() / 2];
    }
    return qx::bench::nowSeconds() - start;
}

// Keeps the compiler from turning the plain loop into vector stores.
__attribute__((noinline, optimize("no-tree-vectorize"))) void plainLoop(char16_t* first, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) first[i] = u' ';
}

double timeFill(void (*fill)(char16_t*, std::size_t), char16_t* block, std::size_t characters) {
    const double start = qx::bench::nowSeconds();
    fill(block, characters);
    return qx::bench::nowSeconds() - start;
}

void streamFill(char16_t* first, std::size_t count) { qx::win32::streamSpaces(first, count); }

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::uint64_t> mebibytes = {256, 1024};
    if (argc > 1) {
        mebibytes.clear();
        for (int i = 1; i < argc; ++i) mebibytes.push_back(std::strtoull(argv[i], nullptr, 10));
    }
    qx::win32::Win32Freeing freeing;
    qx::win32::Win32Freeing::Calls oneThread;
    oneThread.maxFillThreads = 1;
    qx::win32::Win32Freeing freeingOneThread(oneThread);
    std::uint64_t check = 0;
    std::printf("processors usable: %u\n", qx::win32::usableProcessors());
    std::printf("medians of %d rounds, GB/s      Run   String   Run/String   Run1   Run1/String   Stream  PlainLoop  Stream/Plain\n", kRounds);
    for (const std::uint64_t size : mebibytes) {
        const std::uint64_t bytes = size << 20;
        const std::uint64_t characters = bytes / 2;
        auto* touched = static_cast<char16_t*>(
            ::VirtualAlloc(nullptr, static_cast<std::size_t>(bytes), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (touched == nullptr) {
            std::fprintf(stderr, "no memory for %llu MiB\n", static_cast<unsigned long long>(size));
            return 2;
        }
        plainLoop(touched, static_cast<std::size_t>(characters));

        std::vector<double> run, run1, string, stream, plain;
        for (int round = 0; round < kRounds; ++round) {
            if (round % 2 == 0) {
                run.push_back(rate(bytes, timeRun(freeing, characters)));
                string.push_back(rate(bytes, timeString(characters, check)));
            } else {
                string.push_back(rate(bytes, timeString(characters, check)));
                run.push_back(rate(bytes, timeRun(freeing, characters)));
            }
            run1.push_back(rate(bytes, timeRun(freeingOneThread, characters)));
            stream.push_back(rate(bytes, timeFill(streamFill, touched, static_cast<std::size_t>(characters))));
            plain.push_back(rate(bytes, timeFill(plainLoop, touched, static_cast<std::size_t>(characters))));
        }
        ::VirtualFree(touched, 0, MEM_RELEASE);
        const double r = qx::bench::median(run), r1 = qx::bench::median(run1), s = qx::bench::median(string);
        const double st = qx::bench::median(stream), pl = qx::bench::median(plain);
        std::printf("%5llu MiB block               %7.2f  %7.2f   %9.1fx  %6.2f  %11.1fx  %7.2f  %9.2f  %11.1fx\n",
                    static_cast<unsigned long long>(size), r, s, r / s, r1, r1 / s, st, pl, st / pl);
    }
    std::printf("(goal: Run/String >= 5x)\n");
    return check == 0 ? 3 : 0;
}
