#include "platform/ui/timer_table.h"

namespace qx::ui {

void TimerTable::adopt(Form& form) {
    form.timerHost = this;
    for (Timer* timer : form.timers()) apply(entryFor(*timer, &form));
}

void TimerTable::release(Form& form) {
    // Moved out first: a backend timer may call back while it goes.
    std::vector<std::unique_ptr<PeriodicTimer>> going;
    for (Entry& e : entries_) {
        if (e.form != &form) continue;
        e.periodic->stop();
        going.push_back(std::move(e.periodic));
    }
    std::erase_if(entries_, [](const Entry& e) { return !e.periodic; });
}

TimerTable::Entry& TimerTable::entryFor(Timer& timer, Form* form) {
    for (Entry& e : entries_) {
        if (e.timer != &timer) continue;
        if (form) e.form = form;
        return e;
    }
    Timer* t = &timer;
    Dispatcher* dispatcher = &dispatcher_;
    auto periodic = backend_.create([t, dispatcher] {
        dispatcher->deliver([t] {
            if (t->enabled() && t->onTimer) t->onTimer();
        });
    });
    entries_.push_back({&timer, form, std::move(periodic)});
    return entries_.back();
}

void TimerTable::apply(Entry& entry) {
    if (dispatcher_.ended()) return;
    if (entry.timer->enabled() && entry.timer->interval() > 0) {
        entry.periodic->start(entry.timer->interval());
    } else {
        entry.periodic->stop();
    }
}

void TimerTable::timerChanged(Timer& timer) { apply(entryFor(timer, nullptr)); }

void TimerTable::stopAll() {
    for (Entry& e : entries_) e.periodic->stop();
}

PeriodicTimer* TimerTable::periodicOf(const Timer& timer) const {
    for (const Entry& e : entries_) {
        if (e.timer == &timer) return e.periodic.get();
    }
    return nullptr;
}

}  // namespace qx::ui
