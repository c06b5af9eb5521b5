// The soak's own parts: each invariant catches what it is there to catch,
// the lines depend on the seed alone, and a replay script runs in quendax-sim.
#include <gtest/gtest.h>

#include <sstream>

#include "app/scenario/scenario_session.h"
#include "invariants.h"
#include "script_generator.h"
#include "soak_run.h"

namespace qx::soak {
namespace {

// A started program that has had one tick with a sample.
class StartedProgram : public ::testing::Test {
protected:
    void SetUp() override {
        run("mem total_phys=1073741824 avail_phys=268435456");
        run("start");
        run("advance 100");
        watch.haveTick = watch.barsPlaced = true;
    }
    void run(const std::string& text) { session.execute(*scenario::parseLine(text)); }
    FrmMain& main() { return *session.program(); }

    std::ostringstream out;
    scenario::ScenarioSession session{out};
    RunWatch watch;
};

TEST_F(StartedProgram, HoldsAfterANormalTick) { EXPECT_FALSE(checkInvariants(main(), watch)); }

TEST_F(StartedProgram, CatchesAGreenBoxOutsideItsBar) {
    main().picAvailableRAM.setLeft(main().picUsedPhysical.width() - 10);
    auto v = checkInvariants(main(), watch);
    ASSERT_TRUE(v);
    EXPECT_NE(v->what.find("picAvailableRAM"), std::string::npos);
}

TEST_F(StartedProgram, CatchesAMarkerOutsideItsBar) {
    main().picOldPagefile.setVisible(true);
    main().picOldPagefile.setLeft(-1);
    ASSERT_TRUE(checkInvariants(main(), watch));
    main().picOldPagefile.setVisible(false);  // a hidden marker may stand anywhere
    EXPECT_FALSE(checkInvariants(main(), watch));
}

TEST_F(StartedProgram, CatchesAStatusTheProgramNeverShows) {
    main().lblStatus.setCaption("Done, quitting in 4...");
    ASSERT_TRUE(checkInvariants(main(), watch));
    main().lblStatus.setCaption("Done, quitting in 0...");
    EXPECT_FALSE(checkInvariants(main(), watch));
}

TEST_F(StartedProgram, CatchesAnIconThatDisagreesWithTheSample) {
    watch.tickWarning = true;
    auto v = checkInvariants(main(), watch);
    ASSERT_TRUE(v);
    EXPECT_NE(v->what.find("warning"), std::string::npos);
}

TEST_F(StartedProgram, CatchesAHistoryIndexOutOfRange) {
    main().HistoryIndex = 2001;
    ASSERT_TRUE(checkInvariants(main(), watch));
}

TEST_F(StartedProgram, CatchesANestedRun) {
    watch.nestedRun = "@600 block 268435456";
    ASSERT_TRUE(checkInvariants(main(), watch));
}

TEST(ScriptGenerator, GivesTheSameLinesForTheSameSeed) {
    ScriptGenerator a(7), b(7), c(8);
    std::vector<std::string> la = a.opening(), lb = b.opening(), lc = c.opening();
    for (int i = 0; i < 500; ++i) {
        la.push_back(a.step(i % 3 == 0));
        lb.push_back(b.step(i % 3 == 0));
        lc.push_back(c.step(i % 3 == 0));
    }
    EXPECT_EQ(la, lb);
    EXPECT_NE(la, lc);
}

TEST(Soak, ReplayScriptOfARecordedLifeRunsInQuendaxSim) {
    SoakOptions options;
    options.seed = 3;
    options.ticks = 3000;
    options.checkMemory = false;
    options.recordLife = 0;
    const SoakResult result = runSoak(options);
    ASSERT_FALSE(result.violation) << result.violation->what;
    ASSERT_FALSE(result.recorded.empty());
    std::ostringstream out, err;
    scenario::ScenarioSession session(out);
    std::istringstream script(replayScript(options, result));
    EXPECT_EQ(session.run(script, err), 0) << err.str();
    EXPECT_NE(out.str().find("tray add"), std::string::npos);
}

}  // namespace
}  // namespace qx::soak
