#include "platform/qt/qt_timer_host.h"

#include <algorithm>

namespace qx::qt {

QtTimerHost::~QtTimerHost() { stopAll(); }

void QtTimerHost::adopt(ui::Form& form) {
    form.timerHost = this;
    for (ui::Timer* timer : form.timers()) apply(entryFor(*timer, &form));
}

void QtTimerHost::release(ui::Form& form) {
    for (Entry& e : entries_) {
        if (e.form != &form) continue;
        // A handler of this very timer may be running: let the event loop
        // delete it once the handler has returned.
        e.qtimer->stop();
        e.qtimer.release()->deleteLater();
    }
    std::erase_if(entries_, [](const Entry& e) { return !e.qtimer; });
}

QtTimerHost::Entry& QtTimerHost::entryFor(ui::Timer& timer, ui::Form* form) {
    for (Entry& e : entries_) {
        if (e.timer != &timer) continue;
        if (form) e.form = form;
        return e;
    }
    auto qtimer = std::make_unique<QTimer>();
    qtimer->setTimerType(Qt::CoarseTimer);
    ui::Timer* t = &timer;
    Dispatcher* dispatcher = &dispatcher_;
    QObject::connect(qtimer.get(), &QTimer::timeout, [t, dispatcher] {
        dispatcher->deliver([t] {
            if (t->enabled() && t->onTimer) t->onTimer();
        });
    });
    entries_.push_back({&timer, form, std::move(qtimer)});
    return entries_.back();
}

void QtTimerHost::apply(Entry& entry) {
    if (dispatcher_.ended()) return;
    if (entry.timer->enabled() && entry.timer->interval() > 0) {
        entry.qtimer->start(entry.timer->interval());  // restarts a running timer
    } else {
        entry.qtimer->stop();
    }
}

void QtTimerHost::timerChanged(ui::Timer& timer) { apply(entryFor(timer, nullptr)); }

void QtTimerHost::stopAll() {
    for (Entry& e : entries_) e.qtimer->stop();
}

const QTimer* QtTimerHost::qtimerOf(const ui::Timer& timer) const {
    for (const Entry& e : entries_) {
        if (e.timer == &timer) return e.qtimer.get();
    }
    return nullptr;
}

}  // namespace qx::qt
