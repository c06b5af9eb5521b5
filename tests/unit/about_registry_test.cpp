// Reading registry values as text in the About box.
#include <gtest/gtest.h>

#include <sstream>

#include "about/frm_about.h"
#include "mainwindow/frm_main.h"
#include "platform/sim/sim_system.h"

namespace qx {
namespace {

struct AboutFixture : ::testing::Test {
    std::ostringstream out;
    sim::SimSystem system{out, [] { return std::int64_t{0}; }};
    ModMemory memory{system};
    FrmMain main{system, memory};
    FrmAbout about{main};

    void put(std::uint32_t type, std::string data) {
        system.registry[{"KEY", "VALUE"}] = RegistryValue{type, std::move(data)};
    }
};

TEST_F(AboutFixture, ATextValueLosesOnlyItsClosingNul) {
    std::string text = "old";
    put(1, std::string("C:\\Tools\\info.exe\0", 18));
    EXPECT_TRUE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text, "C:\\Tools\\info.exe");
    put(1, "no nul at the end");
    EXPECT_TRUE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text, "no nul at the end");
}

TEST_F(AboutFixture, ANumberValueIsRenderedAsItsNumber) {
    std::string text;
    put(4, std::string("\x39\x30\x00\x00", 4));  // 0x3039 little-endian
    EXPECT_TRUE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text, "12345");
}

TEST_F(AboutFixture, OtherTypesAreReadButLeaveTheTextAsItWas) {
    std::string text = "as passed";
    put(2, "%SystemRoot%");
    EXPECT_TRUE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text, "as passed");
}

TEST_F(AboutFixture, MissingOrOversizedValuesFailWithAnEmptyText) {
    std::string text = "as passed";
    EXPECT_FALSE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text, "");
    text = "x";
    put(1, std::string(1025, 'a'));
    EXPECT_FALSE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text, "");
    put(1, std::string(1024, 'a'));
    EXPECT_TRUE(about.GetKeyValue("KEY", "VALUE", text));
    EXPECT_EQ(text.size(), 1024u);
    EXPECT_FALSE(about.GetKeyValue("OTHER KEY", "VALUE", text));
}

}  // namespace
}  // namespace qx
