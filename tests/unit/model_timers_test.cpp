// How timers and user events behave on the window model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/errors.h"
#include "platform/sim/sim_clock.h"
#include "platform/ui/model.h"

namespace qx {
namespace {

struct TwoTimerForm : ui::Form {
    TwoTimerForm() : ui::Form("frmTest") {}
    ui::Timer first{*this, "first", 100, false, ""};
    ui::Timer second{*this, "second", 100, false, ""};
    ui::MenuItem file{*this, "mnuFile", "&File", nullptr};
    ui::MenuItem sub{*this, "mnuSub", "&Sub", &file};
    ui::MenuItem entry{*this, "mnuEntry", "&Entry", &sub, "Ctrl+E"};
};

struct Log {
    std::vector<std::string> lines;
    sim::SimScheduler* clock = nullptr;
    void add(const std::string& what) { lines.push_back(what + "@" + std::to_string(clock->now())); }
};

TEST(Timers, TicksDueTogetherComeInDefinitionOrder) {
    TwoTimerForm form;
    ui::Dispatcher dispatcher;
    sim::SimScheduler clock(dispatcher);
    Log log{{}, &clock};
    clock.adopt(form);
    form.second.onTimer = [&] { log.add("second"); };
    form.first.onTimer = [&] { log.add("first"); };
    form.second.setEnabled(true);
    form.first.setEnabled(true);
    clock.advance(200);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"first@100", "second@100", "first@200", "second@200"}));
}

TEST(Timers, AFailingHandlerStopsOnlyItsOwnTick) {
    TwoTimerForm form;
    ui::Dispatcher dispatcher;
    sim::SimScheduler clock(dispatcher);
    int ticks = 0;
    clock.adopt(form);
    form.first.onTimer = [&] {
        ++ticks;
        throw RuntimeError(ErrorCode::Overflow, "Overflow");
    };
    form.first.setEnabled(true);
    clock.advance(300);
    EXPECT_EQ(ticks, 3);
}

TEST(Timers, TicksGoOnInTimeOrderWhileAHandlerHoldsTheClock) {
    // A message box held open inside a handler lets every timer tick, in
    // time order; afterwards the clock goes on from where the hold ended.
    TwoTimerForm form;
    ui::Dispatcher dispatcher;
    sim::SimScheduler clock(dispatcher);
    Log log{{}, &clock};
    clock.adopt(form);
    bool held = false;
    form.first.onTimer = [&] {
        log.add("first");
        if (!held) {  // the first tick holds the clock once
            held = true;
            clock.advance(350);
        }
    };
    form.second.onTimer = [&] { log.add("second"); };
    form.first.setEnabled(true);
    form.second.setEnabled(true);
    clock.advance(500);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"first@100", "second@100", "first@200", "second@200",
                                                  "first@300", "second@300", "first@400", "second@400",
                                                  "first@500", "second@500"}));
    EXPECT_EQ(clock.now(), 500);
}

TEST(Menus, NothingHappensWhenTheEntryOrAMenuAboveItOrTheWindowIsDisabled) {
    TwoTimerForm form;
    int clicks = 0;
    form.entry.onClick = [&] { ++clicks; };
    form.clickMenu(form.entry);
    EXPECT_TRUE(form.pressShortcut("Ctrl+E"));
    EXPECT_EQ(clicks, 2);
    form.file.setEnabled(false);
    form.clickMenu(form.entry);
    form.pressShortcut("Ctrl+E");
    EXPECT_EQ(clicks, 2);
    form.file.setEnabled(true);
    form.setEnabled(false);
    form.clickMenu(form.entry);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(form.pressShortcut("Ctrl+Z"));
}

TEST(Controls, ChildrenOfAPixelBoxMeasureInPixels) {
    TwoTimerForm form;
    ui::Control box(form, "pic", ui::Kind::PictureBox, nullptr, 0, 0, 3615, 1575);
    box.scalePixels = true;
    ui::Control label(form, "lbl", ui::Kind::Label, &box, 180, 1320, 210, 195);
    EXPECT_EQ(label.top(), 88);
    EXPECT_EQ(label.width(), 14);
    label.setTop(80);
    EXPECT_EQ(label.topTwips(), 1200);
    form.setTwipsPerPixel(12);
    EXPECT_EQ(label.top(), 100);
    EXPECT_EQ(box.scaleWidth(), 3615 / 12.0 - 4);
}

TEST(Controls, UnchangedValuesDoNotBumpTheRevision) {
    TwoTimerForm form;
    ui::Control label(form, "lbl", ui::Kind::Label, nullptr, 0, 0, 100, 100);
    label.setCaption("1,024 MB");
    const auto rev = label.revision();
    label.setCaption("1,024 MB");
    label.setWidth(100);
    label.setVisible(true);
    EXPECT_EQ(label.revision(), rev);
    label.setCaption("1,025 MB");
    EXPECT_GT(label.revision(), rev);
}

TEST(Forms, LoadShowsTheWindowUnlessItsHandlerHidIt) {
    TwoTimerForm shown;
    int resizes = 0;
    shown.onResize = [&] { ++resizes; };
    shown.load();
    EXPECT_TRUE(shown.visible());
    EXPECT_EQ(resizes, 1);

    TwoTimerForm hidden;
    hidden.onLoad = [&] { hidden.hide(); };
    hidden.load();
    EXPECT_FALSE(hidden.visible());
    EXPECT_TRUE(hidden.loaded());
}

}  // namespace
}  // namespace qx
