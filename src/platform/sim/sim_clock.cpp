#include "platform/sim/sim_clock.h"

#include <algorithm>

namespace qx::sim {

class SimScheduler::Periodic final : public ui::PeriodicTimer {
public:
    Periodic(SimScheduler& clock, std::function<void()> tick) : clock_(clock), tick(std::move(tick)) {}
    ~Periodic() override { clock_.forget(this); }
    Periodic(const Periodic&) = delete;
    Periodic& operator=(const Periodic&) = delete;

    void start(int ms) override {
        running = true;
        period = ms;
        due = clock_.now_ + ms;
    }
    void stop() override { running = false; }

    SimScheduler& clock_;
    std::function<void()> tick;
    bool running = false;
    int period = 0;
    std::int64_t due = 0;
};

SimScheduler::~SimScheduler() = default;

std::unique_ptr<ui::PeriodicTimer> SimScheduler::create(std::function<void()> tick) {
    auto periodic = std::make_unique<Periodic>(*this, std::move(tick));
    periodics_.push_back(periodic.get());
    return periodic;
}

void SimScheduler::forget(const Periodic* periodic) { std::erase(periodics_, periodic); }

void SimScheduler::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    while (!dispatcher_.ended()) {
        Periodic* next = nullptr;
        for (Periodic* p : periodics_) {
            if (!p->running || p->period <= 0 || p->due > target) continue;
            if (!next || p->due < next->due) next = p;
        }
        if (!next) {
            now_ = std::max(now_, target);
            return;
        }
        now_ = std::max(now_, next->due);
        // The next period starts now; a handler that restarts the timer sets its own.
        next->due = now_ + next->period;
        const std::function<void()> tick = next->tick;
        tick();
    }
}

}  // namespace qx::sim
