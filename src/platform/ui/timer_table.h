// The model's timers for every backend. The table adopts the timers of a
// window, finds the entry of a timer that changes, applies the restart
// rules and forgets a window's timers when it goes; a backend only starts
// and stops one periodic timer per model timer. Ticks run through the
// dispatcher.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/dispatcher.h"
#include "platform/ui/model.h"

namespace qx::ui {

// One periodic timer of a backend, stopped when made.
class PeriodicTimer {
public:
    virtual ~PeriodicTimer() = default;  // may be destroyed by its own tick
    // Starts the period now: the first tick comes `ms` milliseconds later.
    // Starting a running timer starts its period afresh.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
};

// What a backend supplies to run timers.
class PeriodicTimers {
public:
    virtual ~PeriodicTimers() = default;
    // A new, stopped timer that calls `tick` at the end of every period.
    virtual std::unique_ptr<PeriodicTimer> create(std::function<void()> tick) = 0;
};

class TimerTable final : public TimerHost {
public:
    TimerTable(PeriodicTimers& backend, Dispatcher& dispatcher) : backend_(backend), dispatcher_(dispatcher) {}
    ~TimerTable() override { stopAll(); }
    TimerTable(const TimerTable&) = delete;
    TimerTable& operator=(const TimerTable&) = delete;

    // Takes over the timers of a window, in definition order: those enabled
    // start their period now.
    void adopt(Form& form);
    // Forgets the timers of a window that is going away.
    void release(Form& form);
    // Enabling a disabled timer or a new interval starts the period afresh;
    // disabling (or an interval of 0) stops it. Nothing starts after the end.
    void timerChanged(Timer& timer) override;
    void stopAll();

    // The backend's timer behind a model timer (nullptr if none).
    PeriodicTimer* periodicOf(const Timer& timer) const;

private:
    struct Entry {
        Timer* timer;
        Form* form;
        std::unique_ptr<PeriodicTimer> periodic;
    };
    Entry& entryFor(Timer& timer, Form* form);
    void apply(Entry& entry);

    PeriodicTimers& backend_;
    Dispatcher& dispatcher_;
    std::vector<Entry> entries_;
};

}  // namespace qx::ui
