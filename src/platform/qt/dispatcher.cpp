#include "platform/qt/dispatcher.h"

namespace qx::qt {

void Dispatcher::end() {
    if (ended_) return;
    ended_ = true;
    if (onEnd_) onEnd_();
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
    syncing_ = false;
}

}  // namespace qx::qt
