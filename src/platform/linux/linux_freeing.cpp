#include "platform/linux/linux_freeing.h"

#include <algorithm>
#include <cstdio>

#include <poll.h>
#include <time.h>

#include "platform/freeing_rules.h"
#include "platform/linux/freeing_figures.h"

namespace qx::linuxos {

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

std::string mebibytes(std::uint64_t bytes) {
    return std::to_string((bytes + kMiB - 1) / kMiB) + " MiB";
}

}  // namespace

LinuxFreeing::LinuxFreeing() : LinuxFreeing(Options{}) {}

LinuxFreeing::LinuxFreeing(const Options& options) : options_(options) {
    if (options_.readFigures == nullptr) options_.readFigures = readFreeingFigures;
}

bool LinuxFreeing::createBlock(std::uint64_t characters) {
    BlockState state = beginBlock(characters);
    timespec started{};
    ::clock_gettime(CLOCK_MONOTONIC, &started);
    while (state == BlockState::Pending) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const std::int64_t waited =
            (now.tv_sec - started.tv_sec) * 1000 + (now.tv_nsec - started.tv_nsec) / 1000000;
        const std::int64_t left = deadlineMs_ - waited;
        if (left <= 0) {
            state = settleBlock(true);
            break;
        }
        pollfd watch{blockWaitHandle(), POLLIN, 0};
        ::poll(&watch, 1, static_cast<int>(std::min<std::int64_t>(left, 60000)));
        state = settleBlock(false);
    }
    return state == BlockState::Ready;
}

WatchedBlock::BlockState LinuxFreeing::beginBlock(std::uint64_t characters) {
    releaseBlock();
    limit_ = FreeingLimit::None;
    refusal_.clear();
    bytes_ = 0;
    if (characters == 0) return BlockState::Ready;
    if (characters > kNoLimit / sizeof(char16_t)) {
        refusal_ = "quendax: a freeing block of " + std::to_string(characters) +
                   " characters is more than can be counted in bytes";
        return BlockState::Failed;
    }
    bytes_ = characters * sizeof(char16_t);

    FreeingFigures figures;
    if (!options_.readFigures(figures)) {
        refusal_ = "quendax: freeing needs " + mebibytes(bytes_) +
                   ", and /proc/meminfo could not be read to see whether it fits";
        return BlockState::Failed;
    }
    limit_ = linuxos::refusingLimit(figures, bytes_);
    if (limit_ != FreeingLimit::None) {
        refusal_ = "quendax: freeing needs " + mebibytes(bytes_) + ", more than " +
                   freeingLimitName(limit_) + " leaves with a reserve kept";
        return BlockState::Failed;
    }

    unsigned workers = workersFor(bytes_, usableProcessors());
    if (options_.maxWorkers != 0) workers = std::min(workers, options_.maxWorkers);
    deadlineMs_ = options_.deadlineMs > 0 ? options_.deadlineMs : qx::blockDeadlineMs(bytes_);
    switch (workers_.begin(characters, workers, options_.afterWrite)) {
        case BlockWorkers::State::Held: return BlockState::Ready;
        case BlockWorkers::State::Writing: return BlockState::Pending;
        case BlockWorkers::State::Failed: break;
    }
    refusal_ = "quendax: the worker processes for a freeing block of " + mebibytes(bytes_) +
               " could not be started";
    return BlockState::Failed;
}

WatchedBlock::BlockState LinuxFreeing::settleBlock(bool giveUp) {
    if (giveUp) workers_.giveUp();
    switch (workers_.settle()) {
        case BlockWorkers::State::Held: return BlockState::Ready;
        case BlockWorkers::State::Writing: return BlockState::Pending;
        case BlockWorkers::State::Failed: break;
    }
    if (workers_.failure() == BlockWorkers::Failure::TimedOut) {
        refusal_ = "quendax: the freeing block of " + mebibytes(bytes_) + " was not written within " +
                   std::to_string(deadlineMs_ / 1000) + " s; its workers were ended";
    } else {
        refusal_ = "quendax: a worker process ended before its part of the freeing block of " +
                   mebibytes(bytes_) + " was written";
    }
    return BlockState::Failed;
}

void LinuxFreeing::releaseBlock() { workers_.stop(); }

}  // namespace qx::linuxos
