// Model timers on QTimers: they run only while enabled, and ticks run
// through the dispatcher.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/qt/qt_timer_host.h"

namespace qx::qt {
namespace {

class TimerForm : public ui::Form {
public:
    TimerForm() : ui::Form("frmTimers"), fast(*this, "tmrFast", 20, true, ""), idle(*this, "tmrIdle", 1000, false, "") {}
    ui::Timer fast;
    ui::Timer idle;
};

TEST(QtTimerHost, AdoptedTimersRunOnlyWhileEnabled) {
    ui::Dispatcher d;
    int syncs = 0;
    d.setOnSync([&] { ++syncs; });
    QtTimerHost host(d);
    TimerForm form;
    host.adopt(form);
    ASSERT_NE(host.qtimerOf(form.fast), nullptr);
    EXPECT_TRUE(host.qtimerOf(form.fast)->isActive());
    EXPECT_EQ(host.qtimerOf(form.fast)->interval(), 20);
    EXPECT_FALSE(host.qtimerOf(form.idle)->isActive());

    int ticks = 0;
    form.fast.onTimer = [&] { ++ticks; };
    for (int i = 0; i < 100 && ticks < 2; ++i) QTest::qWait(20);
    EXPECT_GE(ticks, 2);
    EXPECT_GE(syncs, ticks);  // each tick is followed by a sync

    form.fast.setEnabled(false);
    EXPECT_FALSE(host.qtimerOf(form.fast)->isActive());
    const int stopped = ticks;
    QTest::qWait(80);
    EXPECT_EQ(ticks, stopped);
}

TEST(QtTimerHost, ATickThatEndsTheProgramStopsEveryTimer) {
    ui::Dispatcher d;
    QtTimerHost host(d);
    d.setOnEnd([&] { host.stopAll(); });
    TimerForm form;
    host.adopt(form);
    form.idle.setEnabled(true);
    form.fast.onTimer = [] { throw ProcessExit{}; };
    for (int i = 0; i < 100 && !d.ended(); ++i) QTest::qWait(20);
    ASSERT_TRUE(d.ended());
    EXPECT_FALSE(host.qtimerOf(form.fast)->isActive());
    EXPECT_FALSE(host.qtimerOf(form.idle)->isActive());
    // A timer enabled after the end stays stopped.
    form.idle.setEnabled(false);
    form.idle.setEnabled(true);
    EXPECT_FALSE(host.qtimerOf(form.idle)->isActive());
}

TEST(QtTimerHost, ReleasedFormLosesItsTimers) {
    ui::Dispatcher d;
    QtTimerHost host(d);
    TimerForm form;
    host.adopt(form);
    host.release(form);
    EXPECT_EQ(host.qtimerOf(form.fast), nullptr);
    QTest::qWait(1);  // lets the event loop delete the QTimers
}

}  // namespace
}  // namespace qx::qt
