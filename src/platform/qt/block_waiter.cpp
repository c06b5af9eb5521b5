#include "platform/qt/block_waiter.h"

namespace qx::qt {

BlockWaiter::BlockWaiter(WatchedBlock& freeing, ui::Dispatcher& dispatcher,
                         std::function<void(const std::string& why)> failed)
    : freeing_(freeing), dispatcher_(dispatcher), failed_(std::move(failed)) {}

BlockWaiter::~BlockWaiter() = default;

bool BlockWaiter::outcome(WatchedBlock::BlockState state) {
    const bool ok = state == WatchedBlock::BlockState::Ready;
    if (!ok && failed_) {
        const std::string why = freeing_.blockRefusal();
        if (!why.empty()) failed_(why);
    }
    return ok;
}

void BlockWaiter::start(std::uint64_t characters, std::function<void(bool ok)> done) {
    stopWatching();
    retiredNotifier_.reset();
    retiredDeadline_.reset();
    const WatchedBlock::BlockState state = freeing_.beginBlock(characters);
    const int handle = freeing_.blockWaitHandle();
    if (state != WatchedBlock::BlockState::Pending || handle < 0) {
        const bool ok = state == WatchedBlock::BlockState::Pending
                            ? outcome(freeing_.settleBlock(true))
                            : outcome(state);
        done(ok);
        return;
    }
    done_ = std::move(done);
    notifier_ = std::make_unique<QSocketNotifier>(handle, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { settle(false); });
    deadline_ = std::make_unique<QTimer>();
    deadline_->setSingleShot(true);
    QObject::connect(deadline_.get(), &QTimer::timeout, [this] { settle(true); });
    deadline_->start(static_cast<int>(freeing_.blockDeadlineMs()));
}

void BlockWaiter::settle(bool giveUp) {
    if (!notifier_) return;
    const WatchedBlock::BlockState state = freeing_.settleBlock(giveUp);
    if (state == WatchedBlock::BlockState::Pending) return;
    // The notifier is in its own signal: it goes once the event loop is back.
    stopWatching();
    const bool ok = outcome(state);
    std::function<void(bool)> done = std::move(done_);
    done_ = nullptr;
    dispatcher_.deliver([&] { done(ok); });
}

void BlockWaiter::stopWatching() {
    // This may run inside the notifier's or the timer's own signal: they
    // are kept, quiet, until the next start or the end.
    if (notifier_) {
        notifier_->setEnabled(false);
        retiredNotifier_ = std::move(notifier_);
    }
    if (deadline_) {
        deadline_->stop();
        retiredDeadline_ = std::move(deadline_);
    }
}

}  // namespace qx::qt
