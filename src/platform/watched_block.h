// A freeing block made in the background, whose news arrives on a
// descriptor an event loop can watch (Linux: the worker processes' report
// pipe). The platform that makes such blocks implements this; a window
// backend that waits for them from its event loop is handed it.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

class WatchedBlock {
public:
    virtual ~WatchedBlock() = default;

    enum class BlockState { Ready, Failed, Pending };
    // Starts the block. Ready or Failed: settled at once, as a block made
    // while waiting would have it. Pending: watch blockWaitHandle() and call
    // settleBlock().
    virtual BlockState beginBlock(std::uint64_t characters) = 0;
    // While Pending: a descriptor that turns readable when there is news
    // of the block; -1 when there is none to watch.
    virtual int blockWaitHandle() const = 0;
    // While Pending: how long after beginBlock() to give up on it, in ms.
    virtual std::int64_t blockDeadlineMs() const = 0;
    // Takes in the news: Pending while more is to come, else the outcome.
    // With `giveUp` (the deadline has passed) the block is abandoned, every
    // process making it is killed, and the result is Failed.
    virtual BlockState settleBlock(bool giveUp) = 0;
    // Why the last block was refused, in one line for standard error.
    virtual std::string blockRefusal() const = 0;
};

}  // namespace qx
