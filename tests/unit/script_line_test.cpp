#include "app/scenario/script_line.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qx::scenario {
namespace {

TEST(ScriptLine, SkipsBlankLinesAndComments) {
    EXPECT_FALSE(parseLine(""));
    EXPECT_FALSE(parseLine("   \t"));
    EXPECT_FALSE(parseLine("# print x"));
    EXPECT_FALSE(parseLine("  #> expected"));
}

TEST(ScriptLine, SplitsWordsAndKeepsQuotedBlanks) {
    auto line = parseLine("  reg \"SOFTWARE\\Shared Tools\" PATH 1 \"C:\\My Tools\\x.exe\"\r");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->command, "reg");
    ASSERT_EQ(line->args.size(), 4u);
    EXPECT_EQ(line->args[0], "SOFTWARE\\Shared Tools");
    EXPECT_EQ(line->args[3], "C:\\My Tools\\x.exe");
    EXPECT_EQ(line->rest, "\"SOFTWARE\\Shared Tools\" PATH 1 \"C:\\My Tools\\x.exe\"");
}

TEST(ScriptLine, KeepsTheRestOfTheLineForStart) {
    auto line = parseLine("start /AUTO   /QUIT");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->rest, "/AUTO   /QUIT");
    auto bare = parseLine("start");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->rest, "");
    EXPECT_TRUE(bare->args.empty());
}

TEST(ScriptLine, AnUnclosedQuoteIsAnError) {
    EXPECT_THROW(parseLine("file \"C:\\x"), std::invalid_argument);
}

TEST(ScriptLine, SplitsAssignments) {
    auto kv = splitAssignment("total_phys=1024");
    ASSERT_TRUE(kv);
    EXPECT_EQ(kv->first, "total_phys");
    EXPECT_EQ(kv->second, "1024");
    EXPECT_FALSE(splitAssignment("=5"));
    EXPECT_FALSE(splitAssignment("total_phys"));
}

}  // namespace
}  // namespace qx::scenario
