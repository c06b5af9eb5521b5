#include "platform/linux/linux_memory.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qx::linuxos {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t KiB = 1024;

// A directory of stand-in /proc files. Files are rewritten in place, so a
// LinuxMemory holding them open sees the new text on its next read.
class FakeProc : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qx_linux_test_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        meminfo_ = (dir_ / "meminfo").string();
        stat_ = (dir_ / "stat").string();
        statm_ = (dir_ / "statm").string();
        overcommit_ = (dir_ / "overcommit_memory").string();
        writeDefaults();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void writeDefaults() const {
        write(meminfo_, kMeminfo);
        write(stat_, "cpu  100 0 50 1000 20 0 0 0 0 0\n");
        write(statm_, "25600 100 50 10 0 80 0\n");
        write(overcommit_, "0\n");
    }

    static void write(const std::string& path, std::string_view text) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }

    ProcPaths paths() const {
        ProcPaths p;
        p.meminfo = meminfo_.c_str();
        p.stat = stat_.c_str();
        p.statm = statm_.c_str();
        p.overcommit = overcommit_.c_str();
        return p;
    }

    static std::uint64_t toHundredNs(std::uint64_t ticks) {
        return ticks * 10000000 / static_cast<std::uint64_t>(::sysconf(_SC_CLK_TCK));
    }

    static constexpr std::string_view kMeminfo =
        "MemTotal:        8000000 kB\n"
        "MemFree:         1000000 kB\n"
        "MemAvailable:    5000000 kB\n"
        "Buffers:          100000 kB\n"
        "Cached:          3000000 kB\n"
        "SwapTotal:       1000000 kB\n"
        "SwapFree:         600000 kB\n"
        "CommitLimit:     5000000 kB\n"
        "Committed_AS:    3500000 kB\n";

    fs::path dir_;
    std::string meminfo_, stat_, statm_, overcommit_;
};

TEST_F(FakeProc, ExtendedStatusFromTheFiles) {
    LinuxMemory memory(paths());
    MemoryStatusEx s;
    ASSERT_TRUE(memory.globalMemoryStatusEx(s));
    EXPECT_EQ(s.totalPhys, 8000000 * KiB);
    EXPECT_EQ(s.availPhys, 5000000 * KiB);
    EXPECT_EQ(s.totalPageFile, 9000000 * KiB);
    EXPECT_EQ(s.availPageFile, 5600000 * KiB);
    const std::uint64_t mapped = 25600u * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    EXPECT_GT(s.totalVirtual, mapped);
    EXPECT_EQ(s.totalVirtual - s.availVirtual, mapped);
}

TEST_F(FakeProc, StrictOvercommitSwitchesThePageFileFigures) {
    write(overcommit_, "2\n");
    LinuxMemory memory(paths());
    MemoryStatusEx s;
    ASSERT_TRUE(memory.globalMemoryStatusEx(s));
    EXPECT_EQ(s.totalPageFile, 5000000 * KiB);
    EXPECT_EQ(s.availPageFile, 1500000 * KiB);
}

TEST_F(FakeProc, FilesReadAgainOnEveryCall) {
    LinuxMemory memory(paths());
    MemoryStatusEx s;
    ASSERT_TRUE(memory.globalMemoryStatusEx(s));
    std::string changed(kMeminfo);
    changed.replace(changed.find("5000000 kB\nBuffers"), 7, "4000000");
    write(meminfo_, changed);
    ASSERT_TRUE(memory.globalMemoryStatusEx(s));
    EXPECT_EQ(s.availPhys, 4000000 * KiB);
}

TEST_F(FakeProc, UnreadableOrBadFilesFailTheExtendedQuery) {
    MemoryStatusEx untouched;
    untouched.totalPhys = 42;
    struct Case {
        std::string* path;
        const char* text;  // nullptr: remove the file
    };
    const Case cases[] = {
        {&meminfo_, nullptr},
        {&meminfo_, "garbage\n"},
        {&meminfo_, ""},
        {&meminfo_, "MemTotal:        8000000 kB\nMemFree:         10"},
        {&statm_, nullptr},
        {&statm_, "x\n"},
        {&overcommit_, nullptr},
        {&overcommit_, ""},
    };
    for (const Case& c : cases) {
        writeDefaults();
        if (c.text == nullptr) {
            fs::remove(*c.path);
        } else {
            write(*c.path, c.text);
        }
        LinuxMemory memory(paths());
        MemoryStatusEx s = untouched;
        EXPECT_FALSE(memory.globalMemoryStatusEx(s)) << *c.path << " / "
                                                      << (c.text ? c.text : "(missing)");
        EXPECT_EQ(s.totalPhys, 42u);
    }
}

TEST_F(FakeProc, StrictOvercommitWithoutCommitValuesFails) {
    write(overcommit_, "2\n");
    std::string text(kMeminfo);
    text.erase(text.find("CommitLimit"));
    write(meminfo_, text);
    LinuxMemory memory(paths());
    MemoryStatusEx s;
    EXPECT_FALSE(memory.globalMemoryStatusEx(s));
}

TEST_F(FakeProc, ProcessorTimesConvertedAndNeverGoingBack) {
    LinuxMemory memory(paths());
    SystemTimes t;
    ASSERT_TRUE(memory.getSystemTimes(t));
    EXPECT_EQ(t.user, toHundredNs(100));
    EXPECT_EQ(t.idle, toHundredNs(1020));
    EXPECT_EQ(t.kernel, toHundredNs(1070));

    // iowait fell by 15 while idle rose by 5: idle and kernel are held.
    write(stat_, "cpu  110 0 52 1005 5 0 0 0 0 0\n");
    ASSERT_TRUE(memory.getSystemTimes(t));
    EXPECT_EQ(t.user, toHundredNs(110));
    EXPECT_EQ(t.idle, toHundredNs(1020));
    EXPECT_EQ(t.kernel, toHundredNs(1070));

    write(stat_, "cpu  120 0 60 1030 5 0 0 0 0 0\n");
    ASSERT_TRUE(memory.getSystemTimes(t));
    EXPECT_EQ(t.idle, toHundredNs(1035));
    EXPECT_EQ(t.kernel, toHundredNs(1095));

    // Another instance has no history of its own yet.
    write(stat_, "cpu  1 0 2 3 0 0 0 0 0 0\n");
    LinuxMemory fresh(paths());
    ASSERT_TRUE(fresh.getSystemTimes(t));
    EXPECT_EQ(t.idle, toHundredNs(3));
}

TEST_F(FakeProc, BadStatLeavesTimesAlone) {
    write(stat_, "cpu  1 2 3");
    LinuxMemory memory(paths());
    SystemTimes t;
    t.idle = 9;
    EXPECT_FALSE(memory.getSystemTimes(t));
    EXPECT_EQ(t.idle, 9u);
}

TEST_F(FakeProc, LegacyVirtualFiguresMatchTheExtendedOnes) {
    LinuxMemory memory(paths());
    MemoryStatusEx ex;
    ASSERT_TRUE(memory.globalMemoryStatusEx(ex));
    MemoryStatus legacy;
    memory.globalMemoryStatus(legacy);
    EXPECT_EQ(legacy.totalVirtual, generic::legacyFigure(ex.totalVirtual));
    EXPECT_EQ(legacy.availVirtual, generic::legacyFigure(ex.availVirtual));
}

// The one test on this machine's own /proc.
TEST(LinuxMemoryOnThisMachine, FiguresAreConsistent) {
    LinuxMemory memory;
    MemoryStatusEx s;
    ASSERT_TRUE(memory.globalMemoryStatusEx(s));
    EXPECT_GT(s.availPhys, 0u);
    EXPECT_GE(s.totalPhys, s.availPhys);
    EXPECT_GT(s.availPageFile, 0u);
    EXPECT_GE(s.totalPageFile, s.availPageFile);
    EXPECT_GT(s.availVirtual, 0u);
    EXPECT_GT(s.totalVirtual, s.availVirtual);  // this program maps something

    MemoryStatus legacy;
    memory.globalMemoryStatus(legacy);
    EXPECT_GT(legacy.totalPhys, 0u);
    EXPECT_GE(legacy.totalPhys, legacy.availPhys);
    EXPECT_GE(legacy.totalPageFile, legacy.totalPhys);

    SystemTimes first;
    SystemTimes second;
    ASSERT_TRUE(memory.getSystemTimes(first));
    EXPECT_GT(first.kernel, 0u);
    EXPECT_GE(first.kernel, first.idle);
    ASSERT_TRUE(memory.getSystemTimes(second));
    EXPECT_GE(second.idle, first.idle);
    EXPECT_GE(second.kernel, first.kernel);
    EXPECT_GE(second.user, first.user);
}

}  // namespace
}  // namespace qx::linuxos
