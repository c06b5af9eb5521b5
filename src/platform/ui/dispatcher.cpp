#include "platform/ui/dispatcher.h"

#include <string>

#include "platform/ui/window_description.h"

namespace qx::ui {

void Dispatcher::end() {
    if (ended_) return;
    ended_ = true;
    if (onEnd_) onEnd_();
}

void Dispatcher::failed(const char* what) {
    if (onWarn_ && !ended_) {
        try {
            std::string line = "quendax: an event handler failed";
            if (what && *what) {
                line += ": ";
                line += what;
            }
            line += "; the program ends";
            onWarn_(line);
        } catch (...) {
            // Short of memory even for the line: end without it.
        }
    }
    end();
}

void Dispatcher::paintBox(Control& box, Canvas& canvas, bool insideHandler) {
    if (ended_ || !box.onPaint) return;
    if (!describer_) {
        paint([&] { box.onPaint(canvas); }, insideHandler);
        return;
    }
    PenColorCanvas watched(canvas);
    paint([&] { box.onPaint(watched); }, insideHandler);
    describer_->painted(box, watched.colors());
    describer_->update();
}

void Dispatcher::sync() {
    if (ended_ || !onSync_) return;
    if (syncing_) {
        syncAgain_ = true;
        return;
    }
    syncing_ = true;
    do {
        syncAgain_ = false;
        onSync_();
    } while (syncAgain_ && !ended_);
    if (describer_ && !ended_) describer_->update();
    syncing_ = false;
}

}  // namespace qx::ui
