// Freeing without freezing the window: the block is waited for from the
// event loop, timers and events go on meanwhile, a hung worker is ended at
// the deadline, and freeing asked for during a run starts no second one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "mainwindow/frm_main.h"
#include "mainwindow/main_window_events.h"
#include "platform/linux/commit_check.h"
#include "platform/linux/linux_freeing.h"
#include "platform/linux/linux_memory.h"
#include "platform/linux/linux_shell_services.h"
#include "platform/qt/block_waiter.h"
#include "platform/ui/dispatcher.h"
#include "app/qt_main_window_start.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_system.h"
#include "program_fixture.h"
#include "sampling/mod_memory.h"

namespace qx::qt {
namespace {

using testing::WaitFor;
using linuxos::BlockWorkers;
using linuxos::FreeingFigures;
using linuxos::LinuxFreeing;
using linuxos::LinuxMemory;
using linuxos::LinuxShellServices;
using linuxos::ProcPaths;
using linuxos::WorkerHook;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// Workers that take a second and a half after writing, before they report.
void slowWorker(const char16_t*, std::size_t) {
    const timespec pause{1, 500000000};
    ::nanosleep(&pause, nullptr);
}

// A worker that never reports: every signal is blocked in it, so only
// SIGKILL ends it.
void hungWorker(const char16_t*, std::size_t) {
    for (;;) ::pause();
}

bool roomyFigures(FreeingFigures& figures) {
    figures = {};
    figures.memTotal = 8 * kGiB;
    figures.memAvailable = 4 * kGiB;
    return true;
}

bool addressLimitedFigures(FreeingFigures& figures) {
    roomyFigures(figures);
    figures.addressRoom = 40 * kMiB;
    return true;
}

bool noChildrenLeft() { return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

LinuxFreeing::Options optionsWith(WorkerHook hook, int deadlineMs = 0) {
    LinuxFreeing::Options options;
    options.afterWrite = hook;
    options.readFigures = roomyFigures;
    options.deadlineMs = deadlineMs;
    return options;
}

struct Outcome {
    bool done = false;
    bool ok = false;
    std::vector<std::string> why;
};

TEST(BlockWaiter, TheEventLoopRunsWhileTheWorkersWrite) {
    LinuxFreeing freeing(optionsWith(slowWorker));
    ui::Dispatcher dispatcher;
    Outcome outcome;
    BlockWaiter waiter(freeing, dispatcher, [&](const std::string& why) { outcome.why.push_back(why); });

    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);

    waiter.start(8 * kMiB, [&](bool ok) {
        outcome.done = true;
        outcome.ok = ok;
    });
    EXPECT_FALSE(outcome.done);  // not inside the caller's handler
    EXPECT_TRUE(waiter.waiting());
    EXPECT_FALSE(noChildrenLeft());
    ASSERT_TRUE(WaitFor([&] { return outcome.done; }, 10000));
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.why.empty());
    EXPECT_FALSE(waiter.waiting());
    // The workers took 1.5 s; a timer of 20 ms ticked all that time.
    EXPECT_GE(ticks, 20);
    freeing.releaseBlock();
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWaiter, AHungWorkerIsEndedAtTheDeadlineAndTheBlockFails) {
    LinuxFreeing freeing(optionsWith(hungWorker, 300));
    ui::Dispatcher dispatcher;
    Outcome outcome;
    BlockWaiter waiter(freeing, dispatcher, [&](const std::string& why) { outcome.why.push_back(why); });
    waiter.start(8 * kMiB, [&](bool ok) {
        outcome.done = true;
        outcome.ok = ok;
    });
    ASSERT_FALSE(outcome.done);
    ASSERT_TRUE(WaitFor([&] { return outcome.done; }, 10000));
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(outcome.why.size(), 1u);
    EXPECT_NE(outcome.why[0].find("not written within"), std::string::npos) << outcome.why[0];
    EXPECT_EQ(freeing.workersFailure(), BlockWorkers::Failure::TimedOut);
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWaiter, ARefusedBlockSettlesAtOnceAndNamesTheLimit) {
    LinuxFreeing::Options options = optionsWith(nullptr);
    options.readFigures = addressLimitedFigures;
    LinuxFreeing freeing(options);
    ui::Dispatcher dispatcher;
    Outcome outcome;
    BlockWaiter waiter(freeing, dispatcher, [&](const std::string& why) { outcome.why.push_back(why); });
    waiter.start(32 * kMiB, [&](bool ok) {
        outcome.done = true;
        outcome.ok = ok;
    });
    EXPECT_TRUE(outcome.done);
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(outcome.why.size(), 1u);
    EXPECT_NE(outcome.why[0].find("address-space limit"), std::string::npos) << outcome.why[0];
    EXPECT_TRUE(noChildrenLeft());
}

TEST(BlockWaiter, NoOutcomeAfterTheProgramHasEnded) {
    LinuxFreeing freeing(optionsWith(slowWorker));
    ui::Dispatcher dispatcher;
    Outcome outcome;
    BlockWaiter waiter(freeing, dispatcher, nullptr);
    waiter.start(8 * kMiB, [&](bool) { outcome.done = true; });
    dispatcher.end();
    QTest::qWait(2500);
    EXPECT_FALSE(outcome.done);
    freeing.releaseBlock();
    EXPECT_TRUE(noChildrenLeft());
}

// A machine of 512 MiB, so the program's block is a small 128 MiB.
std::string smallMachineMeminfo() {
    const std::string path = QX_TEST_ARTIFACT_DIR "/small_machine_meminfo";
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file) {
        std::fputs("MemTotal:         524288 kB\nMemFree:          262144 kB\n"
                   "MemAvailable:     262144 kB\nBuffers:               0 kB\n"
                   "Cached:                0 kB\nSwapTotal:             0 kB\n"
                   "SwapFree:              0 kB\nCommitLimit:      262144 kB\n"
                   "Committed_AS:          0 kB\n",
                   file);
        std::fclose(file);
    }
    return path;
}

ProcPaths smallMachine(const std::string& meminfo) {
    ProcPaths paths;
    paths.meminfo = meminfo.c_str();
    return paths;
}

// The whole program with slow workers.
class SlowProgram {
public:
    SlowProgram()
        : meminfo(smallMachineMeminfo()),
          memory(smallMachine(meminfo)),
          freeing(optionsWith(slowWorker)),
          backend(memory, freeing, freeing, lookups, {}),
          sampling(backend.system()),
          main(backend.system(), sampling) {
        app::startMainWindow(backend, main, events);
    }
    void event(const std::function<void()>& handler) { backend.dispatcher().deliver(handler); }

    std::string meminfo;
    LinuxMemory memory;
    LinuxFreeing freeing;
    LinuxShellServices lookups;
    QtBackend backend;
    ModMemory sampling;
    FrmMain main;
    MainWindowEvents events{main};
};

TEST(FreeingWait, TheWindowGoesOnAndASecondRequestStartsNoSecondRun) {
    SlowProgram p;
    p.event([&] { p.main.mnuDefragMemory1_Click(); });
    ASSERT_TRUE(WaitFor([&] { return p.backend.qtSystem().blockPending(); }, 3000));
    EXPECT_TRUE(p.main.freeingInProgress());
    EXPECT_EQ(p.main.lblStatus.caption(), "Freeing up memory...");

    // The readout goes on ticking while the workers write.
    const std::int16_t index = p.main.HistoryIndex;
    QTest::qWait(500);
    EXPECT_NE(p.main.HistoryIndex, index);

    // Asked again, by the menu and by free-and-quit: nothing changes.
    p.event([&] { p.main.mnuDefragMemory1_Click(); });
    p.event([&] { p.main.mnuDefragMemory2_Click(); });
    EXPECT_EQ(p.main.tmrDefragMemory.tag(), "1");
    EXPECT_FALSE(p.main.tmrDefragMemory.enabled());

    ASSERT_TRUE(WaitFor([&] { return !p.main.freeingInProgress(); }, 10000));
    EXPECT_EQ(p.main.lblStatus.caption(), "Ready");
    EXPECT_TRUE(p.main.tmrLoosePicOld.enabled());
    EXPECT_TRUE(p.main.mnuFile.enabled());
    // No second run follows.
    QTest::qWait(1000);
    EXPECT_FALSE(p.backend.qtSystem().blockPending());
    EXPECT_FALSE(p.main.tmrDefragMemory.enabled());
    EXPECT_TRUE(noChildrenLeft());
}

TEST(FreeingWait, ClosingTheWindowDuringARunEndsTheProgramAndTheWorkers) {
    {
        SlowProgram p;
        p.event([&] { p.main.mnuDefragMemory1_Click(); });
        ASSERT_TRUE(WaitFor([&] { return p.backend.qtSystem().blockPending(); }, 3000));
        ASSERT_FALSE(noChildrenLeft());
        p.event([&] { p.main.unload(); });
        EXPECT_TRUE(p.backend.dispatcher().ended());
        // The block's end, when it comes, runs nothing.
        QTest::qWait(2000);
        EXPECT_EQ(p.main.lblStatus.caption(), "Freeing up memory...");
    }
    EXPECT_TRUE(noChildrenLeft());
}

}  // namespace
}  // namespace qx::qt
