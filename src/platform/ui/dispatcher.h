// The one way from an event to a handler, for every backend: each handler
// runs through deliver(), which applies the program's error rules and brings
// the windows up to date afterwards.
//
// A run-time error stops the handler at its failing step (the steps before
// it keep their effect). ProcessExit ends the program: the backend is told
// once (it stops its timers and its event loop) and no handler runs again.
// Anything else a handler throws (running out of memory, say) never unwinds
// through the toolkit's or the window procedure's frames: one line goes
// where the platform writes warnings and the program ends as cleanly as
// after ProcessExit.
#pragma once

#include <functional>
#include <string_view>

#include "platform/runtime/errors.h"
#include "platform/system.h"
#include "platform/ui/model.h"

namespace qx::ui {

class WindowDescriber;

class Dispatcher {
public:
    // Called once when the program ends.
    void setOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    // Pushes the model's changes to the windows.
    void setOnSync(std::function<void()> onSync) { onSync_ = std::move(onSync); }
    // Asks for a sync soon, from the event loop (see paint()).
    void setOnSyncLater(std::function<void()> onSyncLater) { onSyncLater_ = std::move(onSyncLater); }
    // Writes one line where the platform writes warnings.
    void setOnWarn(std::function<void(std::string_view)> onWarn) { onWarn_ = std::move(onWarn); }

    bool ended() const { return ended_; }

    template <typename Handler>
    void deliver(Handler&& handler) {
        if (ended_) return;
        run(handler);
        sync();
    }

    // For paint handlers: they run while the toolkit paints, where windows
    // should not be moved, so the sync is left to the handler that asked for
    // the repaint (`insideHandler`) or to the event loop.
    template <typename Handler>
    void paint(Handler&& handler, bool insideHandler) {
        if (ended_) return;
        run(handler);
        if (!insideHandler && !ended_ && onSyncLater_) onSyncLater_();
    }

    // Runs `box`'s paint handler on `canvas`, as paint() does.
    void paintBox(Control& box, Canvas& canvas, bool insideHandler);
    // A testing aid: keeps `describer`'s file up to date after every sync
    // and paint, with the colours each paint drew in.
    void describeTo(WindowDescriber* describer) { describer_ = describer; }

    // Ends the program as a handler's ProcessExit would.
    void end();

    // Brings the windows up to date now (nothing after the end). A sync
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
        } catch (const std::exception& e) {
            failed(e.what());
        } catch (...) {
            failed(nullptr);
        }
    }
    // A handler threw what the program never throws: say so and end.
    void failed(const char* what);

    std::function<void()> onEnd_;
    std::function<void()> onSync_;
    std::function<void()> onSyncLater_;
    std::function<void(std::string_view)> onWarn_;
    WindowDescriber* describer_ = nullptr;
    bool ended_ = false;
    bool syncing_ = false;
    bool syncAgain_ = false;
};

}  // namespace qx::ui
