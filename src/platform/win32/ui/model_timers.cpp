#include "platform/win32/ui/model_timers.h"

namespace qx::win32ui {

ModelTimers::ModelTimers(HINSTANCE instance, std::function<void(ui::Timer&)> onTick, FailureHandler failed)
    : onTick_(std::move(onTick)),
      timers_(instance,
              [this](UINT_PTR id) {
                  for (const Entry& e : entries_) {
                      if (e.id == id && onTick_) {
                          onTick_(*e.timer);
                          return;
                      }
                  }
              },
              std::move(failed)) {}

void ModelTimers::adopt(ui::Form& form) {
    form.timerHost = this;
    for (ui::Timer* timer : form.timers()) apply(entryFor(*timer, &form));
}

void ModelTimers::release(ui::Form& form) {
    for (const Entry& e : entries_) {
        if (e.form == &form) timers_.stop(e.id);
    }
    std::erase_if(entries_, [&form](const Entry& e) { return e.form == &form; });
    if (form.timerHost == this) form.timerHost = nullptr;
}

ModelTimers::Entry& ModelTimers::entryFor(ui::Timer& timer, ui::Form* form) {
    for (Entry& e : entries_) {
        if (e.timer != &timer) continue;
        if (form) e.form = form;
        return e;
    }
    entries_.push_back({&timer, form, nextId_++});
    return entries_.back();
}

void ModelTimers::apply(const Entry& entry) {
    if (entry.timer->enabled() && entry.timer->interval() > 0) {
        timers_.start(entry.id, static_cast<UINT>(entry.timer->interval()));
    } else {
        timers_.stop(entry.id);
    }
}

void ModelTimers::timerChanged(ui::Timer& timer) { apply(entryFor(timer, nullptr)); }

bool ModelTimers::running(const ui::Timer& timer) const {
    for (const Entry& e : entries_) {
        if (e.timer == &timer) return timers_.running(e.id);
    }
    return false;
}

}  // namespace qx::win32ui
