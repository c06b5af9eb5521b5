// The processes that hold a freeing block. Each worker is forked from the
// program, maps its part of the block, writes it full of spaces, reports,
// and then holds the memory until it is told to go.
//
// A worker keeps none of the program's descriptors (the display
// connection, the session bus, event descriptors): it closes all of them but
// its two pipe ends and puts /dev/null on standard input, output and error
// (child_descriptors.h), so it can hold nothing open for anyone and answer
// nobody in the program's name.
//
// Keeping the block in other processes means that if the kernel has to kill
// for memory after all, it finds a worker first (oom_score_adj 1000) and the
// program and everything else stay; and the program's own size never
// changes. vfork() or clone(CLONE_VM) would be cheaper to start, but a
// process sharing the program's address space is killed along with it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include <sys/types.h>

namespace qx::linuxos {

inline constexpr unsigned kMaxBlockWorkers = 4;

// A worker is only worth its fork() for at least this much of the block.
inline constexpr std::uint64_t kMinWorkerBytes = std::uint64_t{128} << 20;

// Called in each worker once its part is written, before it reports. It runs
// after fork() in a copy of a multithreaded program, so it must be
// async-signal-safe. Tests use it to look at a part or to make a worker die.
using WorkerHook = void (*)(const char16_t* part, std::size_t characters);

// Processors the program may run on (taskset, cpusets), at least one.
unsigned usableProcessors();

// How many workers write a block of `bytes` when `processors` processors
// may run them: one per processor, at most kMaxBlockWorkers, at most one per
// kMinWorkerBytes, and at least one.
unsigned workersFor(std::uint64_t bytes, unsigned processors);

// The block cut into parts for the workers. Every part but the last is a
// whole number of 2 MiB huge pages; parts are never empty, so there may be
// fewer than the workers asked for.
struct BlockParts {
    std::array<std::uint64_t, kMaxBlockWorkers> characters{};
    unsigned count = 0;
};
BlockParts splitBlock(std::uint64_t characters, unsigned workers);

// Maps `bytes` for one part, starting on a 2 MiB boundary, as a worker does;
// null when it can't. Never unmapped: the part goes with its process.
// Async-signal-safe, for use right after fork().
char16_t* mapPart(std::uint64_t bytes);

class BlockWorkers {
public:
    BlockWorkers() = default;
    ~BlockWorkers();
    BlockWorkers(const BlockWorkers&) = delete;
    BlockWorkers& operator=(const BlockWorkers&) = delete;

    // Stops any workers still holding a block, then starts up to `workers`
    // (1..kMaxBlockWorkers) new ones holding `characters` spaces between
    // them. Returns true once every part is written. Returns false, with
    // every worker already gone, when a pipe or process can't be made or a
    // worker doesn't report: it couldn't map its part, couldn't volunteer
    // for the OOM killer, or was killed, or the workers weren't done within
    // `deadlineMs` (negative: no deadline). Zero characters start nothing.
    bool start(std::uint64_t characters, unsigned workers, WorkerHook hook = nullptr,
               int deadlineMs = -1);

    // The same in two halves, for a caller that waits from an event loop.
    // begin() forks the workers and returns at once: Writing while they
    // write (watch reportFd()), or already Held or Failed. settle() takes
    // in what the workers have reported so far without waiting.
    enum class State { Held, Failed, Writing };
    State begin(std::uint64_t characters, unsigned workers, WorkerHook hook = nullptr);
    State settle();
    // Readable (a report, or end of file) while the workers write; -1 else.
    int reportFd() const { return reportFd_; }

    // Why the last begin() or start() failed.
    enum class Failure { None, NoPipe, NoProcess, WorkerGone, TimedOut };
    Failure failure() const { return failure_; }
    // Ends workers that are late: failure() becomes TimedOut.
    void giveUp() noexcept;

    // Ends the workers and waits for them, so their memory is back with the
    // system when this returns. Harmless when none run.
    void stop() noexcept;

    // The workers holding the block now.
    std::span<const pid_t> pids() const { return {pids_.data(), count_}; }

private:
    std::array<pid_t, kMaxBlockWorkers> pids_{};
    unsigned count_ = 0;
    // Write end of the pipe the workers wait on; none of them writes it.
    // Closing it, or the program ending, gives them end of file.
    int holdFd_ = -1;
    // Read end of the pipe the workers report on, while they write.
    int reportFd_ = -1;
    unsigned parts_ = 0;
    unsigned reports_ = 0;
    Failure failure_ = Failure::None;
};

}  // namespace qx::linuxos
