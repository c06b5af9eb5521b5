#include "platform/sim/sim_clock.h"

#include <algorithm>

#include "platform/runtime/errors.h"

namespace qx::sim {

void SimScheduler::adopt(ui::Form& form) {
    form.timerHost = this;
    for (ui::Timer* t : form.timers()) {
        if (!find(*t)) entries_.push_back({t, now_ + t->interval()});
    }
}

SimScheduler::Entry* SimScheduler::find(ui::Timer& timer) {
    for (Entry& e : entries_) {
        if (e.timer == &timer) return &e;
    }
    return nullptr;
}

void SimScheduler::timerChanged(ui::Timer& timer) {
    Entry* e = find(timer);
    if (!e) {
        entries_.push_back({&timer, 0});
        e = &entries_.back();
    }
    e->due = now_ + timer.interval();
}

void SimScheduler::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        Entry* next = nullptr;
        for (Entry& e : entries_) {
            if (!e.timer->enabled() || e.timer->interval() <= 0 || e.due > target) continue;
            if (!next || e.due < next->due) next = &e;
        }
        if (runScheduled(target, next)) continue;
        if (!next) break;
        now_ = std::max(now_, next->due);
        ui::Timer& timer = *next->timer;
        // The next period starts now; a handler that restarts the timer sets its own.
        next->due = now_ + timer.interval();
        if (timer.onTimer) {
            try {
                timer.onTimer();
            } catch (const RuntimeError&) {
                // A handler without error handling stops at the failing
                // step; the steps before it have taken effect.
            }
        }
    }
    now_ = std::max(now_, target);
}

void SimScheduler::schedule(std::int64_t ms, std::function<void()> event) {
    scheduled_.push_back({now_ + std::max<std::int64_t>(ms, 0), std::move(event)});
}

bool SimScheduler::runScheduled(std::int64_t target, const Entry* nextTick) {
    auto first = scheduled_.end();
    for (auto it = scheduled_.begin(); it != scheduled_.end(); ++it) {
        if (it->due <= target && (first == scheduled_.end() || it->due < first->due)) first = it;
    }
    if (first == scheduled_.end()) return false;
    if (nextTick && nextTick->due <= first->due) return false;
    now_ = std::max(now_, first->due);
    const std::function<void()> event = std::move(first->event);
    scheduled_.erase(first);
    try {
        event();
    } catch (const RuntimeError&) {
        // As with a tick: the handler stops at its failing step.
    }
    return true;
}

}  // namespace qx::sim
