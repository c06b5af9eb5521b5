// A freeing run, side by side with what it is measured against:
//   Run       LinuxFreeing::createBlock + releaseBlock, the real thing
//   String    std::u16string(n, u' ') made and destroyed, the naive way
//   Rewrite   the same spaces written again over memory already present:
//             what the memory bus allows, no page faults in it
//   Floor     the page floor: as many worker processes as the run starts,
//             forked, mapping and ending the same way, each touching one
//             byte of every 4 KiB page of its part instead of writing it;
//             the least the kernel's page faults allow for that many workers
//   RewriteAllCores  the same with one thread per processor, for reference
// Each at 1 GiB, 4 GiB and the block the program takes on this machine (a
// quarter of physical memory; size argument 0), one pass per repetition,
// with "GB/s" counters (10^9 bytes a second). run.sh prints the medians and
// their ratios.
//
// Run, String and Floor make one untimed pass before the timed one. In a virtual
// machine whose hypervisor takes freed memory back (virtio-balloon free page
// reporting hands it over after two seconds free), the first touch of such
// memory costs a fault in the host as well, at 1-2 GB/s, and that is the
// hypervisor's time, not the program's. The untimed pass brings the memory
// back in; on a machine of its own it changes nothing. Set QX_FREEING_COLD=1
// in the environment to leave it out and time that case too.
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/linux/block_workers.h"
#include "platform/linux/block_writer.h"
#include "platform/linux/commit_check.h"
#include "platform/linux/linux_freeing.h"

namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// The program's own block: 2 MiB for every whole 8 MB of physical memory.
std::uint64_t programBlockBytes() {
    const auto pages = static_cast<std::uint64_t>(::sysconf(_SC_PHYS_PAGES));
    const auto pageSize = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    return pages * pageSize / 8000000 * (std::uint64_t{2} << 20);
}

std::uint64_t blockBytes(const benchmark::State& state) {
    return state.range(0) == 0 ? programBlockBytes()
                               : static_cast<std::uint64_t>(state.range(0)) * kGiB;
}

void reportRate(benchmark::State& state, std::uint64_t bytes) {
    state.counters["GB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e9,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

// QX_FREEING_COLD=1: no untimed pass first.
bool cold() {
    const char* value = std::getenv("QX_FREEING_COLD");
    return value != nullptr && std::string_view(value) == "1";
}

void Run(benchmark::State& state) {
    const std::uint64_t bytes = blockBytes(state);
    qx::linuxos::LinuxFreeing freeing;
    if (!cold() && freeing.createBlock(bytes / sizeof(char16_t))) freeing.releaseBlock();
    for (auto _ : state) {
        if (!freeing.createBlock(bytes / sizeof(char16_t))) {
            state.SkipWithError("the block doesn't fit this machine now");
            break;
        }
        freeing.releaseBlock();
    }
    reportRate(state, bytes);
}

void String(benchmark::State& state) {
    const std::uint64_t bytes = blockBytes(state);
    if (!cold()) {
        std::u16string block(bytes / sizeof(char16_t), u' ');
        benchmark::DoNotOptimize(block.data());
    }
    for (auto _ : state) {
        std::u16string block(bytes / sizeof(char16_t), u' ');
        benchmark::DoNotOptimize(block.data());
        benchmark::ClobberMemory();
    }
    reportRate(state, bytes);
}

// Memory laid out as the workers lay out theirs (2 MiB huge pages), written
// once so that it is all present before the timing starts.
class PresentMemory {
public:
    explicit PresentMemory(std::uint64_t bytes) : bytes_(bytes + qx::linuxos::kBlockAlignment) {
        void* raw = ::mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                           -1, 0);
        if (raw == MAP_FAILED) return;
        raw_ = raw;
        ::madvise(raw_, bytes_, MADV_HUGEPAGE);
        const auto address = reinterpret_cast<std::uintptr_t>(raw_);
        chars_ = reinterpret_cast<char16_t*>((address + qx::linuxos::kBlockAlignment - 1) &
                                             ~(qx::linuxos::kBlockAlignment - 1));
        qx::linuxos::writeSpaces(chars_, bytes / sizeof(char16_t));
    }
    ~PresentMemory() {
        if (raw_ != nullptr) ::munmap(raw_, bytes_);
    }
    PresentMemory(const PresentMemory&) = delete;
    PresentMemory& operator=(const PresentMemory&) = delete;

    char16_t* chars() const { return chars_; }

private:
    std::uint64_t bytes_;
    void* raw_ = nullptr;
    char16_t* chars_ = nullptr;
};

void Rewrite(benchmark::State& state) {
    const std::uint64_t bytes = blockBytes(state);
    const PresentMemory memory(bytes);
    if (memory.chars() == nullptr) {
        state.SkipWithError("no memory to rewrite");
        return;
    }
    for (auto _ : state) {
        qx::linuxos::writeSpaces(memory.chars(), bytes / sizeof(char16_t));
        benchmark::ClobberMemory();
    }
    reportRate(state, bytes);
}

void RewriteAllCores(benchmark::State& state) {
    const std::uint64_t bytes = blockBytes(state);
    const PresentMemory memory(bytes);
    if (memory.chars() == nullptr) {
        state.SkipWithError("no memory to rewrite");
        return;
    }
    const std::uint64_t characters = bytes / sizeof(char16_t);
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    for (auto _ : state) {
        std::vector<std::thread> writers;
        const std::uint64_t share = characters / threads;
        for (unsigned i = 0; i < threads; ++i) {
            const std::uint64_t first = i * share;
            const std::uint64_t count = i + 1 == threads ? characters - first : share;
            writers.emplace_back([&memory, first, count] {
                qx::linuxos::writeSpaces(memory.chars() + first, count);
            });
        }
        for (auto& writer : writers) writer.join();
        benchmark::ClobberMemory();
    }
    reportRate(state, bytes);
}

// One floor worker: maps its part as a freeing worker does, touches a byte
// of each 4 KiB page, reports, and holds the part until end of file on `hold`.
[[noreturn]] void floorWorker(std::uint64_t bytes, int report, int hold) {
    auto* part = reinterpret_cast<volatile char*>(qx::linuxos::mapPart(bytes));
    if (part == nullptr) ::_exit(1);
    for (std::uint64_t at = 0; at < bytes; at += 4096) part[at] = 1;
    const char done = 1;
    if (::write(report, &done, 1) != 1) ::_exit(1);
    char ignored;
    while (::read(hold, &ignored, 1) > 0) {
    }
    ::_exit(0);
}

// Starts the floor's workers, waits for their reports, and ends them.
void floorPass(const qx::linuxos::BlockParts& parts) {
    int report[2];
    int hold[2];
    if (::pipe(report) != 0) return;
    if (::pipe(hold) != 0) {
        ::close(report[0]);
        ::close(report[1]);
        return;
    }
    pid_t pids[qx::linuxos::kMaxBlockWorkers];
    unsigned started = 0;
    for (; started < parts.count; ++started) {
        pids[started] = ::fork();
        if (pids[started] < 0) break;
        if (pids[started] == 0) {
            ::close(report[0]);
            ::close(hold[1]);
            floorWorker(parts.characters[started] * sizeof(char16_t), report[1], hold[0]);
        }
    }
    ::close(report[1]);
    ::close(hold[0]);
    char reports[qx::linuxos::kMaxBlockWorkers];
    for (unsigned got = 0; got < started;) {
        const ssize_t more = ::read(report[0], reports, sizeof reports);
        if (more <= 0) break;
        got += static_cast<unsigned>(more);
    }
    ::close(report[0]);
    ::close(hold[1]);
    for (unsigned i = 0; i < started; ++i) ::waitpid(pids[i], nullptr, 0);
}

void Floor(benchmark::State& state) {
    const std::uint64_t bytes = blockBytes(state);
    const qx::linuxos::BlockParts parts = qx::linuxos::splitBlock(
        bytes / sizeof(char16_t), qx::linuxos::workersFor(bytes, qx::linuxos::usableProcessors()));
    if (!cold()) floorPass(parts);
    for (auto _ : state) floorPass(parts);
    reportRate(state, bytes);
}

void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("GiB")->Arg(1)->Arg(4)->Arg(0);
    benchmark->Iterations(1)->Repetitions(5)->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(Run)->Apply(sizes);
BENCHMARK(String)->Apply(sizes);
BENCHMARK(Rewrite)->Apply(sizes);
BENCHMARK(Floor)->Apply(sizes);
BENCHMARK(RewriteAllCores)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
