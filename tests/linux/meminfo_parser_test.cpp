#include "platform/linux/meminfo_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace qx::linuxos {
namespace {

// As a 6.x kernel writes it, trimmed after the hugepage lines.
constexpr std::string_view kModern =
    "MemTotal:       24683772 kB\n"
    "MemFree:        24244116 kB\n"
    "MemAvailable:   24348120 kB\n"
    "Buffers:           32112 kB\n"
    "Cached:           254304 kB\n"
    "SwapCached:           17 kB\n"
    "Active:           105864 kB\n"
    "Inactive:         173944 kB\n"
    "Active(anon):         24 kB\n"
    "SwapTotal:       2097148 kB\n"
    "SwapFree:        2000000 kB\n"
    "Zswap:                 0 kB\n"
    "Dirty:               136 kB\n"
    "CommitLimit:    12341884 kB\n"
    "Committed_AS:      65884 kB\n"
    "VmallocTotal:   34359738367 kB\n"
    "HugePages_Total:       0\n"
    "Hugepagesize:       2048 kB\n"
    "DirectMap1G:    25165824 kB\n";

// A 2.6 kernel: no MemAvailable, and the lines in the older order.
constexpr std::string_view kOld =
    "MemTotal:        1026084 kB\n"
    "MemFree:          112220 kB\n"
    "Buffers:           61280 kB\n"
    "Cached:           480584 kB\n"
    "SwapCached:         1672 kB\n"
    "Active:           535228 kB\n"
    "HighTotal:             0 kB\n"
    "SwapTotal:       1052248 kB\n"
    "SwapFree:        1047304 kB\n"
    "CommitLimit:     1565288 kB\n"
    "Committed_AS:     764084 kB\n";

TEST(MeminfoParser, ReadsEveryValueOfAModernKernel) {
    MeminfoValues v;
    ASSERT_TRUE(parseMeminfo(kModern, v));
    EXPECT_EQ(v.memTotal, 24683772u);
    EXPECT_EQ(v.memFree, 24244116u);
    EXPECT_EQ(v.memAvailable, 24348120u);
    EXPECT_TRUE(v.hasMemAvailable);
    EXPECT_EQ(v.buffers, 32112u);
    EXPECT_EQ(v.cached, 254304u);  // not SwapCached
    EXPECT_EQ(v.swapTotal, 2097148u);
    EXPECT_EQ(v.swapFree, 2000000u);
    EXPECT_EQ(v.commitLimit, 12341884u);
    EXPECT_EQ(v.committedAs, 65884u);
    EXPECT_TRUE(v.hasCommitValues);
}

TEST(MeminfoParser, OldKernelHasNoMemAvailable) {
    MeminfoValues v;
    v.memAvailable = 99;
    v.hasMemAvailable = true;
    ASSERT_TRUE(parseMeminfo(kOld, v));
    EXPECT_FALSE(v.hasMemAvailable);
    EXPECT_EQ(v.memAvailable, 0u);
    EXPECT_EQ(v.memTotal, 1026084u);
    EXPECT_EQ(v.memFree, 112220u);
    EXPECT_EQ(v.cached, 480584u);
    EXPECT_EQ(v.swapFree, 1047304u);
    EXPECT_EQ(v.committedAs, 764084u);
}

TEST(MeminfoParser, CommitValuesAreOptionalButReportedMissing) {
    const std::string text =
        "MemTotal: 100 kB\nMemFree: 10 kB\nBuffers: 1 kB\nCached: 2 kB\n"
        "SwapTotal: 0 kB\nSwapFree: 0 kB\nCommitLimit: 50 kB\n";
    MeminfoValues v;
    ASSERT_TRUE(parseMeminfo(text, v));
    EXPECT_FALSE(v.hasCommitValues);  // Committed_AS is absent
}

TEST(MeminfoParser, LastLineWithoutNewlineIsAcceptedWhenComplete) {
    const std::string text =
        "MemTotal: 100 kB\nMemFree: 10 kB\nBuffers: 1 kB\nCached: 2 kB\n"
        "SwapTotal: 0 kB\nSwapFree: 7 kB";
    MeminfoValues v;
    ASSERT_TRUE(parseMeminfo(text, v));
    EXPECT_EQ(v.swapFree, 7u);
}

TEST(MeminfoParser, NoPrefixOfTheTextGivesAWrongNumber) {
    // Whatever the point the text is cut at, the parse either fails or gives
    // exactly the figures of the whole text; it only succeeds once the
    // required lines are all complete.
    MeminfoValues whole;
    ASSERT_TRUE(parseMeminfo(kModern, whole));
    constexpr std::string_view kLastRequired = "SwapFree:        2000000 kB";
    const std::size_t requiredEnd = kModern.find(kLastRequired) + kLastRequired.size();
    for (std::size_t cut = 0; cut <= kModern.size(); ++cut) {
        MeminfoValues v;
        if (!parseMeminfo(kModern.substr(0, cut), v)) {
            EXPECT_LT(cut, kModern.size());
            continue;
        }
        EXPECT_GE(cut, requiredEnd);
        EXPECT_EQ(v.memTotal, whole.memTotal) << "cut at " << cut;
        EXPECT_EQ(v.memFree, whole.memFree) << "cut at " << cut;
        EXPECT_EQ(v.memAvailable, whole.memAvailable) << "cut at " << cut;
        EXPECT_EQ(v.buffers, whole.buffers) << "cut at " << cut;
        EXPECT_EQ(v.cached, whole.cached) << "cut at " << cut;
        EXPECT_EQ(v.swapTotal, whole.swapTotal) << "cut at " << cut;
        EXPECT_EQ(v.swapFree, whole.swapFree) << "cut at " << cut;
        if (v.hasCommitValues) {
            EXPECT_EQ(v.commitLimit, whole.commitLimit) << "cut at " << cut;
            EXPECT_EQ(v.committedAs, whole.committedAs) << "cut at " << cut;
        }
    }
}

TEST(MeminfoParser, CutMidNumberFails) {
    MeminfoValues v;
    v.memTotal = 123;
    EXPECT_FALSE(parseMeminfo("MemTotal:       246", v));
    EXPECT_FALSE(parseMeminfo(std::string(kModern.substr(0, kModern.find("Cached:")))
                                  .append("Cached:           25"),
                              v));
    EXPECT_EQ(v.memTotal, 123u);  // left alone on failure
}

TEST(MeminfoParser, CutBeforeARequiredKeyFails) {
    MeminfoValues v;
    EXPECT_FALSE(parseMeminfo(kModern.substr(0, kModern.find("SwapTotal:")), v));
    EXPECT_FALSE(parseMeminfo(kModern.substr(0, kModern.find("SwapFree:")), v));
}

std::string withoutLineOf(std::string_view text, std::string_view key) {
    std::string result(text);
    std::size_t start = 0;
    if (result.compare(0, key.size(), key) != 0) {
        start = result.find("\n" + std::string(key));
        if (start == std::string::npos) return result;
        ++start;
    }
    result.erase(start, result.find('\n', start) + 1 - start);
    return result;
}

TEST(MeminfoParser, EachRequiredKeyIsRequired) {
    for (const char* key : {"MemTotal:", "MemFree:", "Buffers:", "Cached:", "SwapTotal:",
                            "SwapFree:"}) {
        const std::string text = withoutLineOf(kModern, key);
        ASSERT_LT(text.size(), kModern.size()) << key;
        MeminfoValues v;
        EXPECT_FALSE(parseMeminfo(text, v)) << "without " << key;
    }
    MeminfoValues v;
    EXPECT_TRUE(parseMeminfo(withoutLineOf(kModern, "MemAvailable:"), v));
    EXPECT_FALSE(v.hasMemAvailable);
}

TEST(MeminfoParser, GarbageAndEmptyFail) {
    MeminfoValues v;
    EXPECT_FALSE(parseMeminfo("", v));
    EXPECT_FALSE(parseMeminfo("\n\n\n", v));
    EXPECT_FALSE(parseMeminfo("hello world", v));
    EXPECT_FALSE(parseMeminfo(std::string_view("\0\x01\xff:::\n", 7), v));
}

TEST(MeminfoParser, MalformedUsedLineFails) {
    const std::string tail =
        "MemFree: 10 kB\nBuffers: 1 kB\nCached: 2 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n";
    MeminfoValues v;
    EXPECT_TRUE(parseMeminfo("MemTotal: 100 kB\n" + tail, v));
    EXPECT_FALSE(parseMeminfo("MemTotal: abc kB\n" + tail, v));
    EXPECT_FALSE(parseMeminfo("MemTotal: -100 kB\n" + tail, v));
    EXPECT_FALSE(parseMeminfo("MemTotal: 100\n" + tail, v));       // no unit
    EXPECT_FALSE(parseMeminfo("MemTotal: 100 MB\n" + tail, v));    // other unit
    EXPECT_FALSE(parseMeminfo("MemTotal: 100kB\n" + tail, v));     // no gap
    EXPECT_FALSE(parseMeminfo("MemTotal: 100 kB x\n" + tail, v));  // trailing junk
    EXPECT_FALSE(parseMeminfo("MemTotal: 1 2 kB\n" + tail, v));
    EXPECT_FALSE(parseMeminfo("MemTotal:  kB\n" + tail, v));
}

TEST(MeminfoParser, UnusedLinesMayHoldAnything) {
    const std::string text =
        "Weird line without colon\nMemTotal: 100 kB\nFoo: bar baz\nMemFree: 10 kB\n"
        "Buffers: 1 kB\nHugePages_Total: 0\nCached: 2 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n";
    MeminfoValues v;
    ASSERT_TRUE(parseMeminfo(text, v));
    EXPECT_EQ(v.memTotal, 100u);
}

TEST(MeminfoParser, HugeNumbers) {
    const std::string tail =
        "MemFree: 10 kB\nBuffers: 1 kB\nCached: 2 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n";
    MeminfoValues v;
    ASSERT_TRUE(parseMeminfo("MemTotal: 18446744073709551615 kB\n" + tail, v));
    EXPECT_EQ(v.memTotal, 18446744073709551615u);
    // One more does not fit in 64 bits: not a number the kernel could mean.
    EXPECT_FALSE(parseMeminfo("MemTotal: 18446744073709551616 kB\n" + tail, v));
    EXPECT_FALSE(parseMeminfo("MemTotal: 99999999999999999999999 kB\n" + tail, v));
}

}  // namespace
}  // namespace qx::linuxos
