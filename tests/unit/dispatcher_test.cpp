// Every event goes through the dispatcher: errors stop the handler at the
// failing step, ProcessExit ends everything once, anything else ends the
// program after one warning line, and each event is followed by one sync
// (none after the end).
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/dispatcher.h"

namespace qx::ui {
namespace {

struct Counters {
    int ends = 0;
    int syncs = 0;
    int syncLaters = 0;
};

void Wire(Dispatcher& d, Counters& c) {
    d.setOnEnd([&c] { ++c.ends; });
    d.setOnSync([&c] { ++c.syncs; });
    d.setOnSyncLater([&c] { ++c.syncLaters; });
}

TEST(Dispatcher, RunTimeErrorStopsTheHandlerAtItsFailingStep) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    int steps = 0;
    d.deliver([&] {
        ++steps;
        throw RuntimeError(ErrorCode::Overflow, "overflow");
    });
    EXPECT_EQ(steps, 1);
    EXPECT_FALSE(d.ended());
    EXPECT_EQ(c.syncs, 1);  // what the first step changed is shown
    d.deliver([&] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(c.syncs, 2);
}

TEST(Dispatcher, ProcessExitEndsOnceAndNoHandlerRunsAfterIt) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    d.deliver([] { throw ProcessExit{}; });
    EXPECT_TRUE(d.ended());
    EXPECT_EQ(c.ends, 1);
    EXPECT_EQ(c.syncs, 0);

    bool ran = false;
    d.deliver([&] { ran = true; });
    d.paint([&] { ran = true; }, false);
    d.end();
    EXPECT_FALSE(ran);
    EXPECT_EQ(c.ends, 1);
    EXPECT_EQ(c.syncs, 0);
}

TEST(Dispatcher, ProcessExitInsideANestedEventEndsTheOuterOneToo) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    bool outerGoesOn = false;
    d.deliver([&] {
        // A tick delivered while a message box holds the outer handler.
        d.deliver([] { throw ProcessExit{}; });
        if (d.ended()) throw ProcessExit{};  // what the message box does on return
        outerGoesOn = true;
    });
    EXPECT_FALSE(outerGoesOn);
    EXPECT_EQ(c.ends, 1);
}

TEST(Dispatcher, SyncRequestedDuringASyncRunsOnceMoreAfterIt) {
    Dispatcher d;
    int syncs = 0;
    d.setOnSync([&] {
        ++syncs;
        if (syncs == 1) d.deliver([] {});  // an event raised by the first push
    });
    d.deliver([] {});
    EXPECT_EQ(syncs, 2);
}

TEST(Dispatcher, PaintLeavesTheSyncToItsCaller) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    int painted = 0;
    d.paint([&] { ++painted; }, true);
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(c.syncs, 0);
    EXPECT_EQ(c.syncLaters, 0);
    d.paint([&] {
        ++painted;
        throw RuntimeError(ErrorCode::DivisionByZero, "division by zero");
    }, false);
    EXPECT_EQ(painted, 2);
    EXPECT_EQ(c.syncs, 0);
    EXPECT_EQ(c.syncLaters, 1);
}

TEST(Dispatcher, OutOfMemoryInAHandlerWarnsOnceAndEndsTheProgram) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    std::vector<std::string> warnings;
    d.setOnWarn([&](std::string_view line) { warnings.emplace_back(line); });
    int steps = 0;
    d.deliver([&] {
        ++steps;
        throw std::bad_alloc();
    });
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(d.ended());
    EXPECT_EQ(c.ends, 1);
    EXPECT_EQ(c.syncs, 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(std::bad_alloc().what()), std::string::npos) << warnings[0];
    EXPECT_EQ(warnings[0].find('\n'), std::string::npos);  // one line

    d.deliver([&] { ++steps; });
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(warnings.size(), 1u);
}

TEST(Dispatcher, AnythingThrownFromAPaintHandlerEndsTheProgramToo) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    std::vector<std::string> warnings;
    d.setOnWarn([&](std::string_view line) { warnings.emplace_back(line); });
    d.paint([] { throw 42; }, false);
    EXPECT_TRUE(d.ended());
    EXPECT_EQ(c.ends, 1);
    EXPECT_EQ(c.syncLaters, 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].rfind("quendax: ", 0), 0u) << warnings[0];
}

TEST(Dispatcher, AFailureInsideANestedEventEndsTheOuterOneAtItsNextCheck) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    std::vector<std::string> warnings;
    d.setOnWarn([&](std::string_view line) { warnings.emplace_back(line); });
    d.deliver([&] {
        d.deliver([] { throw std::logic_error("broken"); });
        if (d.ended()) throw ProcessExit{};
    });
    EXPECT_EQ(c.ends, 1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("broken"), std::string::npos);
}

TEST(Dispatcher, WithoutAWarningSinkAFailureStillEnds) {
    Dispatcher d;
    Counters c;
    Wire(d, c);
    d.deliver([] { throw std::runtime_error("x"); });
    EXPECT_TRUE(d.ended());
    EXPECT_EQ(c.ends, 1);
}

}  // namespace
}  // namespace qx::ui
