// The model's timers on PeriodicTimers: each model timer gets an id; an
// enabled timer with an interval above 0 runs, anything else is stopped.
// Enabling a disabled timer or giving it a new interval starts its period
// afresh (the model only reports those changes). A tick reaches `onTick`
// with the model timer; whoever connects it runs the handler (through the
// dispatcher) and checks the timer is still enabled.
#pragma once

#include <functional>
#include <vector>

#include "platform/ui/model.h"
#include "platform/win32/ui/periodic_timers.h"

namespace qx::win32ui {

class ModelTimers final : public ui::TimerHost {
public:
    ModelTimers(HINSTANCE instance, std::function<void(ui::Timer&)> onTick, FailureHandler failed);
    ModelTimers(const ModelTimers&) = delete;
    ModelTimers& operator=(const ModelTimers&) = delete;

    // Takes over the timers of a form: those enabled start their period now.
    void adopt(ui::Form& form);
    // Stops and forgets the timers of a form that is going away.
    void release(ui::Form& form);
    void timerChanged(ui::Timer& timer) override;
    void stopAll() { timers_.stopAll(); }
    bool running(const ui::Timer& timer) const;

private:
    struct Entry {
        ui::Timer* timer;
        ui::Form* form;
        UINT_PTR id;
    };
    Entry& entryFor(ui::Timer& timer, ui::Form* form);
    void apply(const Entry& entry);

    std::function<void(ui::Timer&)> onTick_;
    std::vector<Entry> entries_;
    UINT_PTR nextId_ = 1;
    PeriodicTimers timers_;
};

}  // namespace qx::win32ui
