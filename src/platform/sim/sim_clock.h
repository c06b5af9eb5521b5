// The virtual clock of the simulated platform: the shared timer table's
// periodic timers run on it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/dispatcher.h"
#include "platform/ui/timer_table.h"

namespace qx::sim {

class SimScheduler final : private ui::PeriodicTimers {
public:
    explicit SimScheduler(ui::Dispatcher& dispatcher) : dispatcher_(dispatcher), table_(*this, dispatcher) {}
    ~SimScheduler() override;

    std::int64_t now() const { return now_; }

    // Takes over the timers of a window, in their definition order.
    void adopt(ui::Form& form) { table_.adopt(form); }

    // Moves the clock on by `ms`, delivering every tick that falls due in
    // time order; ticks due at the same moment in definition order. A
    // handler may advance the clock itself (a message box held open). Once
    // the program has ended the clock stops.
    void advance(std::int64_t ms);

private:
    class Periodic;
    std::unique_ptr<ui::PeriodicTimer> create(std::function<void()> tick) override;
    void forget(const Periodic* periodic);

    ui::Dispatcher& dispatcher_;
    std::vector<Periodic*> periodics_;  // in the order they were made
    std::int64_t now_ = 0;
    ui::TimerTable table_;
};

}  // namespace qx::sim
