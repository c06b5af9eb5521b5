// Waits for a freeing block from the event loop: the window goes on
// painting and answering while worker processes write the block. The
// block's descriptor is watched with a QSocketNotifier, its deadline with a
// single-shot QTimer; whichever settles the block hands the outcome to the
// dispatcher as an event of its own.
#pragma once

#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/ui/dispatcher.h"
#include "platform/watched_block.h"

namespace qx::qt {

class BlockWaiter {
public:
    // `failed` is told why a block failed (WatchedBlock::blockRefusal).
    BlockWaiter(WatchedBlock& freeing, ui::Dispatcher& dispatcher,
                std::function<void(const std::string& why)> failed);
    ~BlockWaiter();
    BlockWaiter(const BlockWaiter&) = delete;
    BlockWaiter& operator=(const BlockWaiter&) = delete;

    // Starts the block. A block that settles at once (empty, refused, or a
    // platform without a handle to wait on) calls `done` before this
    // returns, inside the caller's handler; one that takes time calls it
    // later through the dispatcher.
    void start(std::uint64_t characters, std::function<void(bool ok)> done);

    // Whether a block is being waited for.
    bool waiting() const { return notifier_ != nullptr; }

private:
    void settle(bool giveUp);
    void stopWatching();
    bool outcome(WatchedBlock::BlockState state);

    WatchedBlock& freeing_;
    ui::Dispatcher& dispatcher_;
    std::function<void(const std::string&)> failed_;
    std::function<void(bool)> done_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QTimer> deadline_;
    std::unique_ptr<QSocketNotifier> retiredNotifier_;
    std::unique_ptr<QTimer> retiredDeadline_;
};

}  // namespace qx::qt
