// The command line's questions about the program: which texts ask for the
// usage text or the version, and what those texts hold.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/usage.h"

namespace qx {
namespace {

TEST(Usage, HelpAndVersionAreAskedOnlyByTheWholeCommandLine) {
    EXPECT_EQ(InfoRequestFor("--help"), InfoRequest::help);
    EXPECT_EQ(InfoRequestFor("-h"), InfoRequest::help);
    EXPECT_EQ(InfoRequestFor("--version"), InfoRequest::version);

    EXPECT_EQ(InfoRequestFor(""), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("/AUTO"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("/quit"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("--help /AUTO"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("/AUTO --version"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor(" --help"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("--HELP"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("-H"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("--versions"), InfoRequest::none);
    EXPECT_EQ(InfoRequestFor("/?"), InfoRequest::none);
}

TEST(Usage, VersionLineIsTheProgramsNameThenADottedVersion) {
    const std::string text = VersionText();
    EXPECT_EQ(text.rfind("quendax ", 0), 0u) << text;
    EXPECT_TRUE(text.size() > 8 && text[8] != '.' && text.back() != '.') << text;
    EXPECT_EQ(text.find_first_not_of("0123456789.", 8), std::string::npos) << text;
}

TEST(Usage, TextNamesBothSwitchesThenThePlatformsFiguresThenTheTestingAids) {
    const std::string text = UsageText("FIGURES\n", "AIDS\n");
    const auto autoLine = text.find("\n  /AUTO ");
    const auto quitLine = text.find("\n  /QUIT ");
    ASSERT_NE(autoLine, std::string::npos);
    ASSERT_NE(quitLine, std::string::npos);
    EXPECT_EQ(text.rfind("Usage: quendax [/AUTO | /QUIT]\n", 0), 0u);
    EXPECT_NE(text.find("frees\nphysical memory"), std::string::npos);
    // One line each.
    EXPECT_EQ(text.find('\n', autoLine + 1), quitLine);
    EXPECT_LT(quitLine, text.find("\nFIGURES\n"));
    EXPECT_LT(text.find("\nFIGURES\n"), text.find("\nAIDS\n"));
    EXPECT_EQ(text.back(), '\n');
}

TEST(Usage, TheMessageBoxTextHasNoColumnsAndEndsLinesOnlyAtParagraphs) {
    const std::string text = UsageBoxText() + "\n";
    EXPECT_EQ(text.rfind("Usage: quendax [/AUTO | /QUIT]\n\n", 0), 0u);
    EXPECT_NE(text.find("\n/AUTO "), std::string::npos);
    EXPECT_NE(text.find("\n/QUIT "), std::string::npos);
    EXPECT_EQ(text.find("  "), std::string::npos) << "spaces aligning columns break in a proportional font";
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', end + 1)) {
        EXPECT_TRUE(text[end - 1] == '\n' || text[end - 1] == '.' || text[end - 1] == ']') << end;  // whole sentences
    }
}

TEST(Usage, EmptyPartsLeaveNoTrace) {
    const std::string end = "other text starts the program normally.\n";
    EXPECT_TRUE(UsageText("", "").ends_with(end));
    EXPECT_TRUE(UsageText("F\n", "").ends_with(end + "\nF\n"));
    EXPECT_TRUE(UsageText("", "A\n").ends_with(end + "\nA\n"));
}

TEST(Usage, EveryLineFitsAnEightyColumnTerminal) {
    const std::string text = UsageText("", "");
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - start, 79u) << text.substr(start, end - start);
        start = end + 1;
    }
}

}  // namespace
}  // namespace qx
