// The shared timer table: a backend only starts and stops its periodic
// timers; adopting, finding, the restart rules and ticks through the
// dispatcher are the table's.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/timer_table.h"

namespace qx::ui {
namespace {

// Records what the table asks of each backend timer.
struct FakeTimers final : PeriodicTimers {
    struct Fake final : PeriodicTimer {
        Fake(FakeTimers& owner, std::function<void()> tick) : owner(owner), tick(std::move(tick)) {}
        ~Fake() override { ++owner.destroyed; }
        void start(int ms) override {
            running = true;
            period = ms;
            ++starts;
        }
        void stop() override { running = false; }
        FakeTimers& owner;
        std::function<void()> tick;
        bool running = false;
        int period = 0;
        int starts = 0;
    };
    std::unique_ptr<PeriodicTimer> create(std::function<void()> tick) override {
        auto fake = std::make_unique<Fake>(*this, std::move(tick));
        made.push_back(fake.get());
        return fake;
    }
    std::vector<Fake*> made;
    int destroyed = 0;
};

class TimerForm : public Form {
public:
    TimerForm() : Form("frmTimers"), fast(*this, "tmrFast", 20, true, ""), idle(*this, "tmrIdle", 1000, false, "") {}
    Timer fast;
    Timer idle;
};

FakeTimers::Fake& FakeOf(TimerTable& table, const Timer& timer) {
    auto* p = dynamic_cast<FakeTimers::Fake*>(table.periodicOf(timer));
    if (!p) throw std::logic_error("no backend timer");
    return *p;
}

TEST(TimerTable, AdoptingStartsTheEnabledTimersInDefinitionOrder) {
    Dispatcher d;
    FakeTimers backend;
    TimerTable table(backend, d);
    TimerForm form;
    table.adopt(form);
    EXPECT_EQ(form.timerHost, &table);
    ASSERT_EQ(backend.made.size(), 2u);
    EXPECT_EQ(backend.made[0], &FakeOf(table, form.fast));
    EXPECT_EQ(backend.made[1], &FakeOf(table, form.idle));
    EXPECT_TRUE(FakeOf(table, form.fast).running);
    EXPECT_EQ(FakeOf(table, form.fast).period, 20);
    EXPECT_FALSE(FakeOf(table, form.idle).running);
    // Adopting again finds the same entries.
    table.adopt(form);
    EXPECT_EQ(backend.made.size(), 2u);
}

TEST(TimerTable, EnablingOrANewIntervalRestartsDisablingOrZeroStops) {
    Dispatcher d;
    FakeTimers backend;
    TimerTable table(backend, d);
    TimerForm form;
    table.adopt(form);
    auto& idle = FakeOf(table, form.idle);
    form.idle.setEnabled(true);
    EXPECT_TRUE(idle.running);
    EXPECT_EQ(idle.period, 1000);
    const int starts = idle.starts;
    form.idle.setEnabled(true);  // already running: the period goes on
    EXPECT_EQ(idle.starts, starts);
    form.idle.setInterval(1000);  // the same interval still starts the period afresh
    EXPECT_EQ(idle.starts, starts + 1);
    form.idle.setInterval(500);
    EXPECT_EQ(idle.period, 500);
    form.idle.setInterval(0);
    EXPECT_FALSE(idle.running);
    form.idle.setInterval(300);
    EXPECT_TRUE(idle.running);
    form.idle.setEnabled(false);
    EXPECT_FALSE(idle.running);
}

TEST(TimerTable, TicksRunThroughTheDispatcherOnlyWhileEnabled) {
    Dispatcher d;
    int syncs = 0;
    d.setOnSync([&] { ++syncs; });
    FakeTimers backend;
    TimerTable table(backend, d);
    TimerForm form;
    table.adopt(form);
    int ticks = 0;
    form.fast.onTimer = [&] {
        ++ticks;
        throw RuntimeError(ErrorCode::Overflow, "overflow");  // stops this tick only
    };
    FakeOf(table, form.fast).tick();
    FakeOf(table, form.fast).tick();
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(syncs, 2);
    // A tick already queued when the timer was disabled runs nothing.
    form.fast.setEnabled(false);
    FakeOf(table, form.fast).tick();
    EXPECT_EQ(ticks, 2);
}

TEST(TimerTable, ATickThatEndsTheProgramLeavesEveryTimerStopped) {
    Dispatcher d;
    FakeTimers backend;
    TimerTable table(backend, d);
    d.setOnEnd([&] { table.stopAll(); });
    TimerForm form;
    table.adopt(form);
    form.idle.setEnabled(true);
    form.fast.onTimer = [] { throw ProcessExit{}; };
    FakeOf(table, form.fast).tick();
    EXPECT_TRUE(d.ended());
    EXPECT_FALSE(FakeOf(table, form.fast).running);
    EXPECT_FALSE(FakeOf(table, form.idle).running);
    form.idle.setEnabled(false);
    form.idle.setEnabled(true);  // nothing starts after the end
    EXPECT_FALSE(FakeOf(table, form.idle).running);
}

TEST(TimerTable, ReleasingAWindowDropsOnlyItsTimers) {
    Dispatcher d;
    FakeTimers backend;
    TimerTable table(backend, d);
    TimerForm first;
    TimerForm second;
    table.adopt(first);
    table.adopt(second);
    table.release(first);
    EXPECT_EQ(backend.destroyed, 2);
    EXPECT_EQ(table.periodicOf(first.fast), nullptr);
    EXPECT_EQ(table.periodicOf(first.idle), nullptr);
    ASSERT_NE(table.periodicOf(second.fast), nullptr);
    EXPECT_TRUE(FakeOf(table, second.fast).running);
}

TEST(TimerTable, ATimerChangedBeforeAdoptionGetsAnEntry) {
    Dispatcher d;
    FakeTimers backend;
    TimerTable table(backend, d);
    TimerForm form;
    form.timerHost = &table;
    form.idle.setEnabled(true);
    ASSERT_EQ(backend.made.size(), 1u);
    EXPECT_TRUE(FakeOf(table, form.idle).running);
    table.adopt(form);
    EXPECT_EQ(backend.made.size(), 2u);  // only tmrFast is new
}

}  // namespace
}  // namespace qx::ui
