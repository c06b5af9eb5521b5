#include "platform/linux/freeing_text.h"

#include <gtest/gtest.h>

#include "platform/linux/commit_check.h"

namespace qx::linuxos {
namespace {

constexpr std::string_view kHeading = "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n";

TEST(ZramSwapFree, AddsTheFreeKibOfZramDevicesOnly) {
    const std::string text = std::string(kHeading) +
                             "/dev/zram0                              partition\t8388604\t\t1024\t\t100\n"
                             "/swapfile                               file\t\t2097148\t\t0\t\t-2\n"
                             "/dev/zram1                              partition\t1000\t\t0\t\t100\n";
    EXPECT_EQ(parseZramSwapFree(text), std::uint64_t{8388604 - 1024 + 1000} * 1024);
}

TEST(ZramSwapFree, NoneWithoutZramOrWithoutSwap) {
    EXPECT_EQ(parseZramSwapFree(std::string(kHeading) +
                                "/dev/sda2 partition 4194300 2048 -2\n"),
              0u);
    EXPECT_EQ(parseZramSwapFree(kHeading), 0u);
    // The last line without its newline still counts.
    EXPECT_EQ(parseZramSwapFree(std::string(kHeading) + "/dev/zram0 partition 10 4 5"),
              6u * 1024);
}

TEST(ZramSwapFree, FailsOnTextItCannotRead) {
    EXPECT_FALSE(parseZramSwapFree(""));
    EXPECT_FALSE(parseZramSwapFree(std::string(kHeading) + "/dev/zram0 partition 10\n"));
    EXPECT_FALSE(parseZramSwapFree(std::string(kHeading) + "/dev/zram0 partition ten 4 5\n"));
    EXPECT_FALSE(parseZramSwapFree(std::string(kHeading) + "/dev/zram0 partition 10 -4 5\n"));
}

constexpr std::string_view kHybrid =
    "9:name=systemd:/user.slice/user-1000.slice/session-2.scope\n"
    "5:cpu,cpuacct:/user.slice\n"
    "4:memory:/user.slice/user-1000.slice/session-2.scope\n"
    "0::/user.slice/user-1000.slice/session-2.scope\n";

TEST(CgroupPaths, FindsTheUnifiedAndTheMemoryLines) {
    EXPECT_EQ(unifiedCgroupPath(kHybrid), "/user.slice/user-1000.slice/session-2.scope");
    EXPECT_EQ(memoryCgroupPath(kHybrid), "/user.slice/user-1000.slice/session-2.scope");

    EXPECT_EQ(unifiedCgroupPath("0::/\n"), "/");
    EXPECT_FALSE(memoryCgroupPath("0::/app.slice/a.service\n"));
    EXPECT_EQ(memoryCgroupPath("7:blkio:/a\n3:cpu,memory,pids:/b\n"), "/b");
    EXPECT_FALSE(memoryCgroupPath("3:memory_x,pids:/b\n"));
    EXPECT_FALSE(unifiedCgroupPath("4:memory:/a\n"));
    EXPECT_FALSE(unifiedCgroupPath(""));
    EXPECT_FALSE(unifiedCgroupPath("0::\n"));
}

TEST(CgroupPaths, WalksUpToTheRoot) {
    EXPECT_EQ(parentCgroup("/a/b/c"), "/a/b");
    EXPECT_EQ(parentCgroup("/a/b/"), "/a");
    EXPECT_EQ(parentCgroup("/a"), "/");
    EXPECT_FALSE(parentCgroup("/"));
    EXPECT_FALSE(parentCgroup(""));
}

TEST(CgroupBytes, ReadsNumbersAndMax) {
    EXPECT_EQ(parseCgroupBytes("8589934592\n"), 8589934592u);
    EXPECT_EQ(parseCgroupBytes("0"), 0u);
    EXPECT_EQ(parseCgroupBytes("max\n"), kNoLimit);
    EXPECT_FALSE(parseCgroupBytes(""));
    EXPECT_FALSE(parseCgroupBytes("\n"));
    EXPECT_FALSE(parseCgroupBytes("12 kB\n"));
    EXPECT_FALSE(parseCgroupBytes("maximum\n"));
}

}  // namespace
}  // namespace qx::linuxos
