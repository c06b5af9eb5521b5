// The virtual clock of the simulated platform and the timers running on it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ui/model.h"

namespace qx::sim {

class SimScheduler final : public ui::TimerHost {
public:
    std::int64_t now() const { return now_; }

    // Takes over the timers of a window, in their definition order.
    void adopt(ui::Form& form);
    void timerChanged(ui::Timer& timer) override;

    // Moves the clock on by `ms`, delivering every tick that falls due in
    // time order; ticks due at the same moment in definition order. A
    // handler may advance the clock itself (a message box held open).
    void advance(std::int64_t ms);

    // Runs `event` once, `ms` from now, as an event of its own: after the
    // ticks due at the same moment, and events scheduled for the same
    // moment in the order they were scheduled.
    void schedule(std::int64_t ms, std::function<void()> event);

private:
    struct Entry {
        ui::Timer* timer;
        std::int64_t due;
    };
    struct Scheduled {
        std::int64_t due;
        std::function<void()> event;
    };
    Entry* find(ui::Timer& timer);
    // Runs the first scheduled event due by `target`, if no tick comes first.
    bool runScheduled(std::int64_t target, const Entry* nextTick);
    std::vector<Entry> entries_;
    std::vector<Scheduled> scheduled_;
    std::int64_t now_ = 0;
};

}  // namespace qx::sim
