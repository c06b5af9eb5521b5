#include "platform/linux/block_workers.h"

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "platform/linux/block_writer.h"
#include "platform/linux/child_descriptors.h"
#include "platform/linux/commit_check.h"

namespace qx::linuxos {

namespace {

// How a worker ends when it can't hold its part. Only a worker that reports
// counts as a success, so these are for whoever looks at it with strace.
enum WorkerExit : int {
    kHeld = 0,
    kOrphaned = 10,
    kNoOomScore = 11,
    kNoMemory = 12,
    kNoReport = 13,
    kNoDevNull = 14,
};

// Everything a worker needs, made ready before fork(): after it, the worker
// may only make async-signal-safe calls, so it computes and allocates nothing.
struct WorkerJob {
    std::uint64_t characters = 0;
    pid_t parent = 0;
    int reportFd = -1;            // a byte here once the part is written
    int holdFd = -1;              // end of file here: time to go
    int parentEnds[2] = {-1, -1};  // the program's ends of both pipes
    WorkerHook hook = nullptr;
};

// Makes this process the one the OOM killer picks first.
bool volunteerForOomKiller() {
    const int fd = ::open("/proc/self/oom_score_adj", O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    static constexpr char kMost[] = "1000";
    const bool written = ::write(fd, kMost, sizeof kMost - 1) == sizeof kMost - 1;
    ::close(fd);
    return written;
}

// The worker's side of the protocol: with nothing of the program's left open,
// it writes its part, sends one byte on reportFd and holds the part until end
// of file on holdFd.
[[noreturn]] void runWorker(const WorkerJob& job) {
    ::close(job.parentEnds[0]);
    ::close(job.parentEnds[1]);
    if (!keepOnlyDescriptors(job.reportFd, job.holdFd)) ::_exit(kNoDevNull);
    // Dies with the thread that forked it, should that end without stop().
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != job.parent) ::_exit(kOrphaned);
    if (!volunteerForOomKiller()) ::_exit(kNoOomScore);

    char16_t* const part = mapPart(job.characters * sizeof(char16_t));
    if (part == nullptr) ::_exit(kNoMemory);
    writeSpaces(part, job.characters);
    if (job.hook != nullptr) job.hook(part, job.characters);

    const char done = 1;
    ssize_t sent;
    do {
        sent = ::write(job.reportFd, &done, 1);
    } while (sent < 0 && errno == EINTR);
    if (sent != 1) ::_exit(kNoReport);
    ::close(job.reportFd);

    char ignored;
    for (;;) {
        const ssize_t got = ::read(job.holdFd, &ignored, 1);
        if (got == 0 || (got < 0 && errno != EINTR)) break;
    }
    ::_exit(kHeld);
}

// The worker calls nothing with at-fork handlers, so there is nothing for
// them to prepare; _Fork() skips them, and the program's other threads don't
// wait on the locks fork() takes for them.
pid_t forkWorker() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    return ::_Fork();
#else
    return ::fork();
#endif
}

// Reads the report bytes there are now. False at end of file: every worker
// has either reported and closed its end or died.
bool readReports(int fd, unsigned& reports) {
    char bytes[kMaxBlockWorkers * 2];
    for (;;) {
        const ssize_t got = ::read(fd, bytes, sizeof bytes);
        if (got > 0) {
            reports += static_cast<unsigned>(got);
        } else if (got == 0) {
            return false;
        } else if (errno == EAGAIN) {
            return true;
        } else if (errno != EINTR) {
            return false;
        }
    }
}

std::int64_t nowMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

void closePipe(int (&fds)[2]) {
    ::close(fds[0]);
    ::close(fds[1]);
}

}  // namespace

unsigned usableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return static_cast<unsigned>(std::max(CPU_COUNT(&set), 1));
}

// Maps `bytes` starting on a 2 MiB boundary, asking for huge pages: a fault
// then brings in 2 MiB at once instead of 4 kB, which is most of the speed.
// MAP_NORESERVE: the fit was checked beforehand, and with strict accounting
// (overcommit_memory 2) the kernel ignores the flag and charges it anyway.
char16_t* mapPart(std::uint64_t bytes) {
    const std::uint64_t whole = (bytes + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
    const std::uint64_t length = whole + kBlockAlignment;
    void* const raw = ::mmap(nullptr, length, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    // Over the whole mapping, so its last huge page lies inside the area.
    // Where transparent huge pages are off this fails and 4 kB pages do.
    ::madvise(raw, length, MADV_HUGEPAGE);
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (address + kBlockAlignment - 1) & ~(kBlockAlignment - 1);
    return reinterpret_cast<char16_t*>(aligned);
}

unsigned workersFor(std::uint64_t bytes, unsigned processors) {
    const std::uint64_t bySize = bytes / kMinWorkerBytes;
    const std::uint64_t count = std::min<std::uint64_t>({processors, kMaxBlockWorkers, bySize});
    return count == 0 ? 1 : static_cast<unsigned>(count);
}

BlockParts splitBlock(std::uint64_t characters, unsigned workers) {
    constexpr std::uint64_t kPage = kBlockAlignment / sizeof(char16_t);
    workers = std::clamp(workers, 1u, kMaxBlockWorkers);
    const std::uint64_t share = characters / workers + (characters % workers != 0);
    const std::uint64_t each = (share + kPage - 1) / kPage * kPage;
    BlockParts parts;
    for (std::uint64_t left = characters; left != 0; left -= parts.characters[parts.count++]) {
        parts.characters[parts.count] = std::min(each, left);
    }
    return parts;
}

BlockWorkers::~BlockWorkers() { stop(); }

bool BlockWorkers::start(std::uint64_t characters, unsigned workers, WorkerHook hook,
                         int deadlineMs) {
    State state = begin(characters, workers, hook);
    const std::int64_t end = nowMs() + deadlineMs;
    while (state == State::Writing) {
        const std::int64_t left = deadlineMs < 0 ? -1 : end - nowMs();
        if (deadlineMs >= 0 && left <= 0) {
            giveUp();
            return false;
        }
        pollfd watch{reportFd_, POLLIN, 0};
        ::poll(&watch, 1, static_cast<int>(left < 0 ? -1 : std::min<std::int64_t>(left, 60000)));
        state = settle();
    }
    return state == State::Held;
}

BlockWorkers::State BlockWorkers::begin(std::uint64_t characters, unsigned workers,
                                        WorkerHook hook) {
    stop();
    failure_ = Failure::None;
    if (characters == 0) return State::Held;
    // A part's bytes must fit the address space's size type.
    if (characters > SIZE_MAX / sizeof(char16_t)) {
        failure_ = Failure::NoProcess;
        return State::Failed;
    }
    const BlockParts parts = splitBlock(characters, workers);

    int report[2];
    int hold[2];
    if (!openPipeAbove2(report)) {
        failure_ = Failure::NoPipe;
        return State::Failed;
    }
    if (!openPipeAbove2(hold)) {
        closePipe(report);
        failure_ = Failure::NoPipe;
        return State::Failed;
    }

    // Workers start with every signal blocked and keep them so: the
    // program's handlers are no business of theirs. SIGKILL still ends
    // them, and a fault they cause still kills them. The program's own mask
    // is back as it was before this returns, however many forks worked.
    sigset_t all;
    sigset_t previous;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t parent = ::getpid();
    for (unsigned i = 0; i < parts.count; ++i) {
        const WorkerJob job{parts.characters[i], parent, report[1], hold[0], {report[0], hold[1]},
                            hook};
        const pid_t pid = forkWorker();
        if (pid == 0) runWorker(job);
        if (pid < 0) break;
        pids_[count_++] = pid;
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    ::close(report[1]);
    ::close(hold[0]);
    holdFd_ = hold[1];
    reportFd_ = report[0];
    parts_ = parts.count;
    reports_ = 0;
    if (count_ != parts.count) {
        // A fork failed halfway: those already started go again.
        stop();
        failure_ = Failure::NoProcess;
        return State::Failed;
    }
    ::fcntl(reportFd_, F_SETFL, ::fcntl(reportFd_, F_GETFL) | O_NONBLOCK);
    return State::Writing;
}

BlockWorkers::State BlockWorkers::settle() {
    if (reportFd_ < 0) return failure_ == Failure::None ? State::Held : State::Failed;
    if (readReports(reportFd_, reports_)) return State::Writing;
    ::close(reportFd_);
    reportFd_ = -1;
    if (count_ == parts_ && reports_ == count_) return State::Held;
    stop();
    failure_ = Failure::WorkerGone;
    return State::Failed;
}

void BlockWorkers::giveUp() noexcept {
    if (reportFd_ < 0) return;
    stop();
    failure_ = Failure::TimedOut;
}

void BlockWorkers::stop() noexcept {
    if (reportFd_ >= 0) {
        ::close(reportFd_);
        reportFd_ = -1;
    }
    if (holdFd_ >= 0) {
        ::close(holdFd_);
        holdFd_ = -1;
    }
    // End of file lets the workers go, but a process the program forks
    // meanwhile may hold a copy of the pipe for a moment; SIGKILL can't wait.
    // Only a worker not yet waited for is signalled: until then its pid
    // can't have gone to another process.
    for (unsigned i = 0; i < count_; ++i) {
        if (::waitpid(pids_[i], nullptr, WNOHANG) == 0) ::kill(pids_[i], SIGKILL);
    }
    for (unsigned i = 0; i < count_; ++i) {
        while (::waitpid(pids_[i], nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    count_ = 0;
}

}  // namespace qx::linuxos
