#include "app/scenario/script_numbers.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace qx::scenario {
namespace {

std::string Refusal(void (*f)()) {
    try {
        f();
    } catch (const std::invalid_argument& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(ScriptNumber, TakesFiniteDecimalsAndRefusesTheRest) {
    EXPECT_EQ(ScriptNumber("12.5"), 12.5);
    EXPECT_EQ(ScriptNumber("-3"), -3);
    EXPECT_EQ(ScriptNumber("1e300"), 1e300);
    EXPECT_EQ(Refusal([] { ScriptNumber("nan"); }), "not a finite number: nan");
    EXPECT_EQ(Refusal([] { ScriptNumber("-inf"); }), "not a finite number: -inf");
    EXPECT_EQ(Refusal([] { ScriptNumber("1e999"); }), "not a finite number: 1e999");
    EXPECT_EQ(Refusal([] { ScriptNumber("12x"); }), "not a number: 12x");
    EXPECT_EQ(Refusal([] { ScriptNumber(""); }), "not a number: ");
}

TEST(ScriptNumberIn, RefusesValuesOutsideTheRangeNamingThem) {
    EXPECT_EQ(ScriptNumberIn("advance", "3600000", 0, kMaxStepMs), 3600000);
    EXPECT_EQ(ScriptNumberIn("advance", "0", 0, kMaxStepMs), 0);
    EXPECT_EQ(Refusal([] { ScriptNumberIn("advance", "3600000.5", 0, kMaxStepMs); }),
              "advance must be from 0 to 3600000: 3600000.5");
    EXPECT_EQ(Refusal([] { ScriptNumberIn("advance", "-1", 0, kMaxStepMs); }),
              "advance must be from 0 to 3600000: -1");
}

TEST(ScriptCount, ReadsEverySixtyFourBitCountExactly) {
    EXPECT_EQ(ScriptCount("k", "0"), 0u);
    EXPECT_EQ(ScriptCount("k", "18446744073709551615"), 18446744073709551615ull);
    EXPECT_EQ(ScriptCount("k", "9007199254740993"), 9007199254740993ull);  // beyond double precision
    EXPECT_EQ(ScriptCount("k", "1e3"), 1000u);
    EXPECT_EQ(ScriptCount("k", "2.9"), 2u);
    EXPECT_EQ(ScriptCount("k", "1.8446744073709550e19"), 18446744073709549568ull);
}

TEST(ScriptCount, RefusesWhatNoSixtyFourBitCountHolds) {
    for (const char* bad : {"18446744073709551616", "1.8446744073709552e19", "1e20", "-1", "nan", "inf",
                            "", "+5", "0x10", "5 "}) {
        EXPECT_THROW(ScriptCount("total_phys", bad), std::invalid_argument) << bad;
    }
    EXPECT_EQ(Refusal([] { ScriptCount("total_phys", "-1"); }),
              "bad value for total_phys: -1 (a whole number from 0 to 18446744073709551615)");
}

}  // namespace
}  // namespace qx::scenario
