#include "platform/linux/leading_number.h"

#include <gtest/gtest.h>

namespace qx::linuxos {
namespace {

TEST(LeadingNumber, ReadsTheFirstFieldOfStatm) {
    std::uint64_t v = 0;
    ASSERT_TRUE(parseLeadingNumber("2771 1468 1199 180 0 208 0\n", v));
    EXPECT_EQ(v, 2771u);
}

TEST(LeadingNumber, ReadsOvercommitModes) {
    std::uint64_t v = 9;
    ASSERT_TRUE(parseLeadingNumber("0\n", v));
    EXPECT_EQ(v, 0u);
    ASSERT_TRUE(parseLeadingNumber("2\n", v));
    EXPECT_EQ(v, 2u);
}

TEST(LeadingNumber, NumberRunningIntoTheEndFails) {
    std::uint64_t v = 7;
    EXPECT_FALSE(parseLeadingNumber("2771", v));
    EXPECT_FALSE(parseLeadingNumber("2", v));
    EXPECT_EQ(v, 7u);
}

TEST(LeadingNumber, GarbageAndEmptyFail) {
    std::uint64_t v = 7;
    EXPECT_FALSE(parseLeadingNumber("", v));
    EXPECT_FALSE(parseLeadingNumber("\n", v));
    EXPECT_FALSE(parseLeadingNumber(" 12\n", v));
    EXPECT_FALSE(parseLeadingNumber("-1\n", v));
    EXPECT_FALSE(parseLeadingNumber("12x\n", v));
    EXPECT_FALSE(parseLeadingNumber("18446744073709551616\n", v));
    EXPECT_EQ(v, 7u);
}

}  // namespace
}  // namespace qx::linuxos
