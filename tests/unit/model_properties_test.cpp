#include "app/scenario/model_properties.h"

#include <gtest/gtest.h>

#include "platform/runtime/errors.h"
#include "platform/ui/model.h"

namespace qx::scenario {
namespace {

ErrorCode CodeOf(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.code();
    }
    ADD_FAILURE() << "no run-time error";
    return ErrorCode::Refused;
}

TEST(ParseNumber, TakesOnlyFiniteNumbers) {
    EXPECT_EQ(parseNumber("2.5"), 2.5);
    EXPECT_FALSE(parseNumber("nan"));
    EXPECT_FALSE(parseNumber("inf"));
    EXPECT_FALSE(parseNumber("1e999"));
    EXPECT_FALSE(parseNumber(""));
}

TEST(SetProperty, PenWidthFollowsTheSixteenBitRule) {
    ui::Form form("frmTest");
    ui::Control box(form, "picBox", ui::Kind::PictureBox, nullptr, 0, 0, 100, 100);
    EXPECT_TRUE(setProperty(box, "DrawWidth", "2.5"));
    EXPECT_EQ(box.drawWidth(), 2);  // halves to even
    EXPECT_TRUE(setProperty(box, "DrawWidth", "32767"));
    EXPECT_EQ(box.drawWidth(), 32767);
    EXPECT_EQ(CodeOf([&] { setProperty(box, "DrawWidth", "1e30"); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([&] { setProperty(box, "DrawWidth", "32768"); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([&] { setProperty(box, "DrawWidth", "0"); }), ErrorCode::InvalidPropertyValue);
    EXPECT_EQ(box.drawWidth(), 32767);  // a refused value changes nothing
    EXPECT_FALSE(setProperty(box, "DrawWidth", "nan"));
}

TEST(SetProperty, TimerIntervalFollowsTheThirtyTwoBitRuleAndItsRange) {
    ui::Form form("frmTest");
    ui::Timer timer(form, "tmrTest", 100, false, "");
    EXPECT_TRUE(setProperty(timer, "Interval", "65535"));
    EXPECT_EQ(timer.interval(), 65535);
    EXPECT_EQ(CodeOf([&] { setProperty(timer, "Interval", "1e12"); }), ErrorCode::Overflow);
    EXPECT_EQ(CodeOf([&] { setProperty(timer, "Interval", "65536"); }), ErrorCode::InvalidPropertyValue);
    EXPECT_EQ(CodeOf([&] { setProperty(timer, "Interval", "-1"); }), ErrorCode::InvalidPropertyValue);
    EXPECT_EQ(timer.interval(), 65535);
}

TEST(SetProperty, ColoursAreWholeThirtyTwoBitNumbers) {
    ui::Form form("frmTest");
    ui::Control box(form, "picBox", ui::Kind::PictureBox, nullptr, 0, 0, 100, 100);
    EXPECT_TRUE(setProperty(box, "BackColor", "255"));
    EXPECT_EQ(box.backColor(), 255u);
    EXPECT_TRUE(setProperty(box, "BackColor", "4294967295"));
    EXPECT_EQ(box.backColor(), 4294967295u);
    EXPECT_TRUE(setProperty(box, "BackColor", "0x8000000F"));
    EXPECT_EQ(box.backColor(), 0x8000000Fu);
    for (const char* bad : {"-1", "4294967296", "1e30", "0.5", "nan"}) {
        EXPECT_FALSE(setProperty(box, "BackColor", bad)) << bad;
    }
    EXPECT_EQ(box.backColor(), 0x8000000Fu);
}

}  // namespace
}  // namespace qx::scenario
