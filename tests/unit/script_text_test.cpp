#include "app/scenario/script_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace qx::scenario {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream in(text);
    ScriptLines lines(in);
    std::vector<std::string> out;
    std::string line;
    while (lines.next(line)) out.push_back(line);
    return out;
}

using V = std::vector<std::string>;

TEST(ScriptLines, EndsLinesAtNewlineCarriageReturnOrBoth) {
    EXPECT_EQ(Lines("a\nb\n"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\nb\r\n"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\rb\r"), (V{"a", "b"}));
    EXPECT_EQ(Lines("a\r\rb"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("a\n\r\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(Lines("last line without end"), (V{"last line without end"}));
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines("\n"), (V{""}));
}

TEST(ScriptLines, SkipsAByteOrderMarkOnlyAtTheStart) {
    EXPECT_EQ(Lines("\xEF\xBB\xBFstart\n"), (V{"start"}));
    EXPECT_EQ(Lines("\xEF\xBB\xBF"), V{});
    EXPECT_EQ(Lines("a\n\xEF\xBB\xBF" "b"), (V{"a", "\xEF\xBB\xBF" "b"}));
    EXPECT_EQ(Lines("\xEF\xBBx\n"), (V{"\xEF\xBBx"}));
    EXPECT_EQ(Lines("\xEF\n"), (V{"\xEF"}));
}

TEST(EscapeControls, WritesControlBytesAsEscapes) {
    EXPECT_EQ(EscapeControls("plain text"), "plain text");
    EXPECT_EQ(EscapeControls("a\x1B[2Jb"), "a\\x1B[2Jb");
    EXPECT_EQ(EscapeControls("cr\r lf\n tab\t del\x7F"), "cr\\x0D lf\\x0A tab\\x09 del\\x7F");
    EXPECT_EQ(EscapeControls(std::string("nul\0!", 5)), "nul\\x00!");
}

TEST(EscapeControls, KeepsWellFormedUtf8AndEscapesTheRest) {
    EXPECT_EQ(EscapeControls("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(EscapeControls("\xC2\x9B" "31m"), "\\xC2\\x9B31m");  // C1 control sequence introducer
    EXPECT_EQ(EscapeControls("\x9B"), "\\x9B");                    // a lone continuation byte
    EXPECT_EQ(EscapeControls("\xC3"), "\\xC3");                    // cut short
    EXPECT_EQ(EscapeControls("\xED\xA0\x80"), "\\xED\\xA0\\x80");  // a surrogate
    EXPECT_EQ(EscapeControls("\xFF"), "\\xFF");
}

}  // namespace
}  // namespace qx::scenario
