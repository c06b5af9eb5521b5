// Helpers shared by the freeing tests: this process's size and children.
#pragma once

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qx::linuxos::freeing_test {

inline std::uint64_t pageBytes() { return static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)); }

// Resident and mapped bytes of a process, from /proc/<pid>/statm; zero when
// it can't be read.
struct ProcessSize {
    std::uint64_t mapped = 0;
    std::uint64_t resident = 0;
};

inline ProcessSize processSize(const std::string& pid = "self") {
    std::ifstream statm("/proc/" + pid + "/statm");
    ProcessSize size;
    statm >> size.mapped >> size.resident;
    if (!statm) return {};
    size.mapped *= pageBytes();
    size.resident *= pageBytes();
    return size;
}

// True when this process has no child, running or unreaped, left.
inline bool noChildrenLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// Runs `body` in a child process and returns its exit status as waitpid()
// gives it. The child ends with the code `body` returns; gtest assertions
// don't reach the parent from there, so `body` reports through the code.
template <typename Body>
int inChildProcess(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// A worker that finds anything but spaces in its part ends with this code,
// and so never reports.
constexpr int kNotAllSpaces = 9;

inline void expectAllSpaces(const char16_t* part, std::size_t characters) {
    for (std::size_t i = 0; i < characters; ++i) {
        if (part[i] != u' ') ::_exit(kNotAllSpaces);
    }
}

// A worker that the kernel kills after writing its part.
inline void dieByKill(const char16_t*, std::size_t) { ::kill(::getpid(), SIGKILL); }

}  // namespace qx::linuxos::freeing_test
