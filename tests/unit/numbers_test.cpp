#include "platform/runtime/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <limits>

#include "platform/runtime/errors.h"

namespace qx {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(1806.5), 1806);
    EXPECT_EQ(RoundHalfEven(1807.5), 1808);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(903.75), 904);
    EXPECT_EQ(RoundHalfEven(16383.5), 16384);
    EXPECT_EQ(RoundHalfEven(4503599627370495.5), 4503599627370496.0);
    EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0) << "whole beyond 2^52";
    EXPECT_TRUE(std::signbit(RoundHalfEven(-0.4)));
    EXPECT_TRUE(std::isnan(RoundHalfEven(std::nan(""))));
    EXPECT_EQ(RoundHalfEven(-INFINITY), -INFINITY);
}

TEST(CInt, ConvertsWithinSixteenBitsAndOverflowsOutside) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);  // ties to even stays in range
    EXPECT_THROW(CInt(32767.5), RuntimeError);
    EXPECT_THROW(CInt(-32769), RuntimeError);
    EXPECT_THROW(CInt(std::nan("")), RuntimeError);
    try {
        CInt(40000);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.code(), ErrorCode::Overflow);
    }
}

TEST(CLng, ConvertsWithinThirtyTwoBitsAndOverflowsOutside) {
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CLng(-2147483648.0), -2147483647 - 1);
    EXPECT_THROW(CLng(2147483647.5), RuntimeError);
    EXPECT_THROW(CLng(std::numeric_limits<double>::infinity()), RuntimeError);
    EXPECT_EQ(CLngOr(1e12, 0), 0);
    EXPECT_EQ(CLngOr(7725.0 / 15, 0), 515);
}

TEST(CDbl, ReadsTagsAndRejectsWhatIsNotANumber) {
    EXPECT_EQ(CDbl("4"), 4);
    EXPECT_EQ(CDbl(" 4 "), 4);
    EXPECT_EQ(CDbl("-1"), -1);
    EXPECT_EQ(CDbl("+2"), 2);
    EXPECT_EQ(CDbl("1.5"), 1.5);
    for (const char* bad : {"", " ", "abc", "4x", "x4", "1 2", "--1"}) {
        EXPECT_THROW(CDbl(bad), RuntimeError) << '"' << bad << '"';
    }
}

std::string Thousands(double v, const char* sep = ",") {
    std::string s;
    FormatThousands(v, sep, s);
    return s;
}

TEST(FormatThousands, GroupsDigitsWithTheUsersSeparator) {
    EXPECT_EQ(Thousands(1234.4), "1,234");
    EXPECT_EQ(Thousands(0), "0");
    EXPECT_EQ(Thousands(0.4), "0");
    EXPECT_EQ(Thousands(999), "999");
    EXPECT_EQ(Thousands(999.5), "1,000");
    EXPECT_EQ(Thousands(1000), "1,000");
    EXPECT_EQ(Thousands(123456789), "123,456,789");
    EXPECT_EQ(Thousands(-1234.4), "-1,234");
    EXPECT_EQ(Thousands(-0.3), "0");
    EXPECT_EQ(Thousands(16384, "."), "16.384");
    EXPECT_EQ(Thousands(16384, "\u00a0"), "16\u00a0384");
    EXPECT_EQ(Thousands(4095.9999990463257), "4,096");
}

TEST(FormatThousands, AppendsWithoutAllocatingWhenThereIsRoom) {
    std::string s;
    s.reserve(32);
    const char* before = s.data();
    FormatThousands(12345678, ",", s);
    s.append(" MB");
    EXPECT_EQ(s, "12,345,678 MB");
    EXPECT_EQ(s.data(), before);
}

TEST(ShortestText, WritesTheShortestExactDecimal) {
    EXPECT_EQ(ShortestText(903.75), "903.75");
    EXPECT_EQ(ShortestText(904), "904");
    EXPECT_EQ(ShortestText(0.25), "0.25");
    EXPECT_EQ(ShortestText(-1), "-1");
    EXPECT_EQ(ShortestText(0), "0");
    EXPECT_EQ(ShortestText(134217728), "134217728");
    EXPECT_EQ(ShortestText(1e22), "10000000000000000000000");
}


// Every byte of the text is a digit, a point or a leading minus, and the text
// reads back as exactly `value`.
void ExpectPlainDecimalOf(double value, const std::string& text) {
    ASSERT_FALSE(text.empty());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool ok = (c >= '0' && c <= '9') || c == '.' || (c == '-' && i == 0);
        ASSERT_TRUE(ok) << "byte " << i << " is " << static_cast<int>(static_cast<unsigned char>(c));
    }
    double back = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(res.ptr, text.data() + text.size());
    EXPECT_EQ(back, value) << text;
}

TEST(ShortestText, WritesEveryMagnitudeInPlainDecimals) {
    const double values[] = {1e63, 1e64, -1e64, 1e300, std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(), 1e-62, 1e-63, -1e-300,
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(), 3.6e303, 123456.789e200};
    for (double v : values) ExpectPlainDecimalOf(v, ShortestText(v));
    EXPECT_EQ(ShortestText(1e64), "1" + std::string(64, '0'));
    EXPECT_EQ(ShortestText(1e-62), "0." + std::string(61, '0') + "1");
    EXPECT_EQ(ShortestText(std::numeric_limits<double>::max()).size(), 309u);
    EXPECT_EQ(ShortestText(std::numeric_limits<double>::denorm_min()).size(), 2u + 323u + 1u);
}

TEST(ShortestText, WritesWhatIsNotANumberAsAWord) {
    EXPECT_EQ(ShortestText(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(ShortestText(-std::numeric_limits<double>::infinity()), "-inf");
    const std::string nan = ShortestText(std::nan(""));
    EXPECT_TRUE(nan == "nan" || nan == "-nan") << nan;
}

TEST(ShortestText, ReadsBackThroughTheTagRule) {
    // A tag of any size counts down by one and is written back as a whole number.
    const double big = CDbl("1" + std::string(300, '0'));
    EXPECT_EQ(big, 1e300);
    EXPECT_EQ(CDbl(ShortestText(big - 1)), big - 1);
}

TEST(FormatThousands, GroupsNumbersOfEveryMagnitude) {
    EXPECT_EQ(Thousands(1e18), "1,000,000,000,000,000,000");
    EXPECT_EQ(Thousands(-1e18), "-1,000,000,000,000,000,000");
    std::string expected = "1";
    for (int i = 0; i < 100; ++i) expected += ",000";
    EXPECT_EQ(Thousands(1e300), expected);
    const std::string max = Thousands(std::numeric_limits<double>::max());
    EXPECT_EQ(max.size(), 309u + 102u);
    for (char c : max) EXPECT_TRUE((c >= '0' && c <= '9') || c == ',');
    EXPECT_EQ(Thousands(1e-300), "0");
    EXPECT_EQ(Thousands(std::numeric_limits<double>::infinity()), "inf");
}

}  // namespace
}  // namespace qx
