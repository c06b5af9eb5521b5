#include "platform/win32/ui/win32_periodic_timers.h"

namespace qx::win32ui {

namespace {

class Win32Timer final : public ui::PeriodicTimer {
public:
    Win32Timer(Win32PeriodicTimers& owner, UINT_PTR id) : owner_(owner), id_(id) {}
    ~Win32Timer() override { owner_.forget(id_); }
    void start(int ms) override { owner_.start(id_, ms); }
    void stop() override { owner_.stop(id_); }

private:
    Win32PeriodicTimers& owner_;
    UINT_PTR id_;
};

}  // namespace

Win32PeriodicTimers::Win32PeriodicTimers(HINSTANCE instance, win32ui::FailureHandler failed)
    : timers_(instance, [this](UINT_PTR id) { tick(id); }, std::move(failed)) {}

Win32PeriodicTimers::~Win32PeriodicTimers() { timers_.stopAll(); }

std::unique_ptr<ui::PeriodicTimer> Win32PeriodicTimers::create(std::function<void()> tick) {
    const UINT_PTR id = nextId_++;
    ticks_[id] = std::move(tick);
    return std::make_unique<Win32Timer>(*this, id);
}

void Win32PeriodicTimers::forget(UINT_PTR id) {
    timers_.stop(id);
    ticks_.erase(id);
}

void Win32PeriodicTimers::tick(UINT_PTR id) {
    const auto found = ticks_.find(id);
    if (found == ticks_.end()) return;
    // The timer may be destroyed by its own tick: run a copy.
    const std::function<void()> run = found->second;
    if (run) run();
}

}  // namespace qx::win32ui
