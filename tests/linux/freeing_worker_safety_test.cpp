// The freeing workers against what can go wrong around them: a worker that
// hangs, descriptors of the program they could keep open, a fork that fails
// halfway, and the program dying while they write.
#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "freeing_test_support.h"
#include "platform/linux/block_workers.h"
#include "platform/linux/commit_check.h"

namespace qx::linuxos {
namespace {

using freeing_test::inChildProcess;
using freeing_test::noChildrenLeft;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kHugePageCharacters = kBlockAlignment / sizeof(char16_t);

// Blocks every signal but SIGKILL's, which can't be: hangs until killed.
void hang(const char16_t*, std::size_t) {
    for (;;) ::pause();
}

constexpr int kKeptSomething = 40;
constexpr int kStandardNotNull = 41;

// Ends the worker with kKeptSomething unless the only descriptors above
// standard error are its two pipe ends, and with kStandardNotNull unless
// standard input, output and error are /dev/null.
void holdsOnlyItsPipes(const char16_t*, std::size_t) {
    int above = 0;
    for (int fd = 3; fd < 4096; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1) ++above;
    }
    if (above != 2) ::_exit(kKeptSomething);
    struct stat null{};
    if (::stat("/dev/null", &null) != 0) ::_exit(kStandardNotNull);
    for (int fd = 0; fd <= 2; ++fd) {
        struct stat standard{};
        if (::fstat(fd, &standard) != 0 || standard.st_rdev != null.st_rdev ||
            !S_ISCHR(standard.st_mode)) {
            ::_exit(kStandardNotNull);
        }
    }
}

bool sameMask(const sigset_t& a, const sigset_t& b) {
    for (int signal = 1; signal < SIGRTMAX; ++signal) {
        if (::sigismember(&a, signal) != ::sigismember(&b, signal)) return false;
    }
    return true;
}

TEST(WorkerSafety, AWorkerDoneInTimeIsKeptWithADeadline) {
    BlockWorkers workers;
    EXPECT_TRUE(workers.start(4 * kMiB, 1, nullptr, 10000));
    EXPECT_EQ(workers.failure(), BlockWorkers::Failure::None);
    EXPECT_EQ(workers.pids().size(), 1u);
    workers.stop();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(WorkerSafety, WorkersKeepNoneOfTheProgramsDescriptors) {
    // What a desktop program has open without close-on-exec: a socket (the
    // display, the session bus), an event descriptor, a plain file.
    int sockets[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
    const int event = ::eventfd(0, 0);
    ASSERT_GE(event, 0);
    const int file = ::open("/proc/self/status", O_RDONLY);
    ASSERT_GE(file, 0);
    const int high = ::fcntl(file, F_DUPFD, 1000);
    ASSERT_GE(high, 1000);

    BlockWorkers workers;
    EXPECT_TRUE(workers.start(4 * kMiB, 2, holdsOnlyItsPipes));
    workers.stop();

    for (int fd : {sockets[0], sockets[1], event, file, high}) ::close(fd);
    EXPECT_TRUE(noChildrenLeft());
}

TEST(WorkerSafety, TheDescriptorCheckSeesADescriptorKept) {
    // Run in a worker's place, after a fork, with one descriptor too many.
    const int status = inChildProcess([] {
        const int extra = ::open("/dev/null", O_RDONLY);
        const int other = ::open("/dev/null", O_RDONLY);
        const int third = ::open("/dev/null", O_RDONLY);
        if (extra < 0 || other < 0 || third < 0) return 1;
        holdsOnlyItsPipes(nullptr, 0);
        return 0;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kKeptSomething);
}

TEST(WorkerSafety, AForkFailingHalfwayEndsTheFirstWorkersAndRestoresTheMask) {
    // RLIMIT_NPROC counts the processes of the real user and doesn't bind
    // root, so in a process of its own the test becomes an unprivileged
    // user first where it is root.
    const int status = inChildProcess([] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 30;
        // Changing user made /proc/self root's; the workers write there.
        ::prctl(PR_SET_DUMPABLE, 1);
        // Find how many processes the user runs: the least limit under
        // which a fork still works. Only the soft limit moves, so it can be
        // raised again.
        rlimit original{};
        if (::getrlimit(RLIMIT_NPROC, &original) != 0) return 39;
        const rlim_t hard = original.rlim_max;
        rlim_t running = 0;
        bool found = false;
        for (rlim_t limit = 1; limit < 4096 && limit <= hard; ++limit) {
            const rlimit tight{limit, hard};
            if (::setrlimit(RLIMIT_NPROC, &tight) != 0) return 31;
            const pid_t pid = ::fork();
            if (pid == 0) ::_exit(0);
            if (pid > 0) {
                ::waitpid(pid, nullptr, 0);
                running = limit - 1;
                found = true;
                break;
            }
        }
        // Room for one worker more, not for two.
        if (!found) return 40;
        const rlimit oneMore{running + 1, hard};
        if (::setrlimit(RLIMIT_NPROC, &oneMore) != 0) return 32;

        sigset_t custom;
        ::sigemptyset(&custom);
        ::sigaddset(&custom, SIGUSR1);
        ::pthread_sigmask(SIG_SETMASK, &custom, nullptr);

        BlockWorkers workers;
        if (workers.start(3 * kHugePageCharacters, 2) != false) return 33;
        if (workers.failure() != BlockWorkers::Failure::NoProcess) return 34;
        if (!workers.pids().empty() || !noChildrenLeft()) return 35;
        sigset_t after;
        ::pthread_sigmask(SIG_SETMASK, nullptr, &after);
        if (!sameMask(after, custom)) return 36;
        // With room for both, the same block works: the limit failed it.
        const rlimit two{running + 2, hard};
        if (::setrlimit(RLIMIT_NPROC, &two) != 0) return 37;
        if (!workers.start(3 * kHugePageCharacters, 2)) return 38;
        workers.stop();
        return 0;
    });
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Whether process `pid` still exists (a zombie counts as gone).
bool processRuns(pid_t pid) {
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (!stat) return false;
    char state = 0;
    const int read = std::fscanf(stat, "%*d %*s %c", &state);
    std::fclose(stat);
    return read == 1 && state != 'Z' && state != 'X';
}

TEST(WorkerSafety, WorkersGoWhenTheProgramDiesMidRun) {
    // The program is a child that starts hanging workers, says who they
    // are, and dies by SIGKILL while they write; this process takes in the
    // orphans, so it can see them go.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t program = ::fork();
    if (program == 0) {
        ::close(channel[0]);
        BlockWorkers workers;
        if (workers.begin(4 * kHugePageCharacters, 2, hang) != BlockWorkers::State::Writing) {
            ::_exit(1);
        }
        for (const pid_t pid : workers.pids()) {
            if (::write(channel[1], &pid, sizeof pid) != sizeof pid) ::_exit(2);
        }
        ::close(channel[1]);
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_GT(program, 0);
    ::close(channel[1]);
    std::vector<pid_t> pids;
    pid_t pid = 0;
    while (::read(channel[0], &pid, sizeof pid) == sizeof pid) pids.push_back(pid);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(pids.size(), 2u);

    // The kernel kills them (parent-death signal); they are reaped here.
    for (int waited = 0; waited < 5000; waited += 10) {
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        if (!processRuns(pids[0]) && !processRuns(pids[1])) break;
        ::usleep(10000);
    }
    for (const pid_t worker : pids) EXPECT_FALSE(processRuns(worker)) << "worker " << worker;
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    EXPECT_TRUE(noChildrenLeft());
}

}  // namespace
}  // namespace qx::linuxos
