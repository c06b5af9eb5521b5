// Runs the model's timers on QTimers, one each, on the event loop's thread.
// A tick goes through the dispatcher; a QTimer delivers no second tick
// while a handler still runs, so ticks never pile up.
#pragma once

#include <QTimer>
#include <memory>
#include <vector>

#include "platform/qt/dispatcher.h"
#include "platform/ui/model.h"

namespace qx::qt {

class QtTimerHost final : public ui::TimerHost {
public:
    explicit QtTimerHost(Dispatcher& dispatcher) : dispatcher_(dispatcher) {}
    ~QtTimerHost() override;
    QtTimerHost(const QtTimerHost&) = delete;
    QtTimerHost& operator=(const QtTimerHost&) = delete;

    // Takes over the timers of a window: those enabled start their period now.
    void adopt(ui::Form& form);
    // Forgets the timers of a window that is going away.
    void release(ui::Form& form);
    // Enabling a disabled timer or a new interval starts the period afresh;
    // disabling (or an interval of 0) stops it.
    void timerChanged(ui::Timer& timer) override;
    void stopAll();

    // For tests: the QTimer behind a model timer (nullptr if none).
    const QTimer* qtimerOf(const ui::Timer& timer) const;

private:
    struct Entry {
        ui::Timer* timer;
        ui::Form* form;
        std::unique_ptr<QTimer> qtimer;
    };
    Entry& entryFor(ui::Timer& timer, ui::Form* form);
    void apply(Entry& entry);

    Dispatcher& dispatcher_;
    std::vector<Entry> entries_;
};

}  // namespace qx::qt
