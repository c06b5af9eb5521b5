#include "platform/runtime/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
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

}  // namespace
}  // namespace qx
