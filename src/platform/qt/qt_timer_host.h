// Runs the model's timers on QTimers, one each, on the event loop's thread,
// through the shared timer table. A QTimer delivers no second tick while a
// handler still runs, so ticks never pile up.
#pragma once

#include <QTimer>
#include <memory>

#include "platform/ui/dispatcher.h"
#include "platform/ui/timer_table.h"

namespace qx::qt {

// The backend's side of the timer table: coarse QTimers.
class QtPeriodicTimers final : public ui::PeriodicTimers {
public:
    std::unique_ptr<ui::PeriodicTimer> create(std::function<void()> tick) override;
};

class QtTimerHost {
public:
    explicit QtTimerHost(ui::Dispatcher& dispatcher) : table_(timers_, dispatcher) {}

    void adopt(ui::Form& form) { table_.adopt(form); }
    void release(ui::Form& form) { table_.release(form); }
    void stopAll() { table_.stopAll(); }
    ui::TimerTable& table() { return table_; }

    // For tests: the QTimer behind a model timer (nullptr if none).
    const QTimer* qtimerOf(const ui::Timer& timer) const;

private:
    QtPeriodicTimers timers_;
    ui::TimerTable table_;
};

}  // namespace qx::qt
