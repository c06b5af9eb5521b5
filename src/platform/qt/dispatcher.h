// The one way from an event to a handler: every handler runs through
// deliver(), which applies the program's error rules and brings the windows
// up to date afterwards.
//
// A run-time error stops the handler at its failing step (the steps before
// it keep their effect). ProcessExit ends the program: the timers stop, the
// event loop is told to quit, and no handler runs again.
#pragma once

#include <functional>

#include "platform/runtime/errors.h"
#include "platform/system.h"

namespace qx::qt {

class Dispatcher {
public:
    // Called once when a handler ends the program.
    void setOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    // Pushes the model's changes to the widgets.
    void setOnSync(std::function<void()> onSync) { onSync_ = std::move(onSync); }
    // Asks for a sync soon, from the event loop (see paint()).
    void setOnSyncLater(std::function<void()> onSyncLater) { onSyncLater_ = std::move(onSyncLater); }

    bool ended() const { return ended_; }

    template <typename Handler>
    void deliver(Handler&& handler) {
        if (ended_) return;
        run(handler);
        sync();
    }

    // For paint handlers: they run while the toolkit paints, where widgets
    // should not be moved, so the sync is left to the handler that asked for
    // the repaint (`insideHandler`) or to the event loop.
    template <typename Handler>
    void paint(Handler&& handler, bool insideHandler) {
        if (ended_) return;
        run(handler);
        if (!insideHandler && !ended_ && onSyncLater_) onSyncLater_();
    }

    // Ends the program as a handler's ProcessExit would.
    void end();

    // Brings the widgets up to date now (nothing after the end). A sync
    // asked for while one runs is made once more when it finishes.
    void sync();

private:
    template <typename Handler>
    void run(Handler& handler) {
        try {
            handler();
        } catch (const RuntimeError&) {
            // The handler stops at its failing step.
        } catch (const ProcessExit&) {
            end();
        }
    }

    std::function<void()> onEnd_;
    std::function<void()> onSync_;
    std::function<void()> onSyncLater_;
    bool ended_ = false;
    bool syncing_ = false;
    bool syncAgain_ = false;
};

}  // namespace qx::qt
