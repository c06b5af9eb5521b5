// Freeing memory on Linux: a block of spaces held for a moment by worker
// processes, after checking it fits what the system can give.
#pragma once

#include <cstdint>
#include <string>

#include "platform/linux/block_workers.h"
#include "platform/linux/commit_check.h"
#include "platform/system.h"
#include "platform/watched_block.h"

namespace qx::linuxos {

class LinuxFreeing final : public FreeingSystem, public WatchedBlock {
public:
    struct Options {
        // Most workers to write the block with; 0: one per usable processor.
        unsigned maxWorkers = 0;
        // Runs in each worker once its part is written (see WorkerHook).
        WorkerHook afterWrite = nullptr;
        // Where the figures for the fit come from.
        bool (*readFigures)(FreeingFigures&) = nullptr;
        // How long the workers may take; 0: blockDeadlineMs(bytes).
        int deadlineMs = 0;
    };

    LinuxFreeing();
    explicit LinuxFreeing(const Options& options);

    // True once `characters` spaces (2 bytes each) are written in memory
    // held by worker processes. False, with nothing held, when the block
    // doesn't fit what the system can give with a reserve kept
    // (roomForBlock), when the figures can't be read, or when a worker
    // fails or isn't done by the deadline. Any block still held is released
    // first.
    bool createBlock(std::uint64_t characters) override;
    // Ends the workers; returns when their memory is back with the system.
    void releaseBlock() override;

    // The same without waiting: the workers' report pipe is the handle.
    BlockState beginBlock(std::uint64_t characters) override;
    int blockWaitHandle() const override { return workers_.reportFd(); }
    std::int64_t blockDeadlineMs() const override { return deadlineMs_; }
    BlockState settleBlock(bool giveUp) override;
    std::string blockRefusal() const override { return refusal_; }

    // Why the last block failed, for tests: the limit that refused it
    // (None when it fitted), and what the workers ran into.
    FreeingLimit refusingLimit() const { return limit_; }
    BlockWorkers::Failure workersFailure() const { return workers_.failure(); }

private:
    Options options_;
    BlockWorkers workers_;
    std::int64_t deadlineMs_ = 0;
    std::uint64_t bytes_ = 0;
    FreeingLimit limit_ = FreeingLimit::None;
    std::string refusal_;
};

}  // namespace qx::linuxos
