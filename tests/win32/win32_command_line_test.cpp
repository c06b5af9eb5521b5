// Taking the program's own name off the Windows command line.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_command_line.h"

namespace qx::win32 {
namespace {

TEST(Win32CommandLine, QuotedProgramPathWithBlanks) {
    EXPECT_EQ(argumentsAfterProgramName(L"\"C:\\Program Files\\Quendax\\quendax.exe\" /auto"), L"/auto");
    EXPECT_EQ(argumentsAfterProgramName(L"\"C:\\Program Files\\Quendax\\quendax.exe\""), L"");
}

TEST(Win32CommandLine, PlainProgramName) {
    EXPECT_EQ(argumentsAfterProgramName(L"quendax.exe /QUIT"), L"/QUIT");
    EXPECT_EQ(argumentsAfterProgramName(L"quendax"), L"");
    EXPECT_EQ(argumentsAfterProgramName(L""), L"");
}

TEST(Win32CommandLine, BlanksAndTabsAfterTheNameAreSkippedTrailingTextIsKept) {
    EXPECT_EQ(argumentsAfterProgramName(L"quendax.exe \t  /auto"), L"/auto");
    EXPECT_EQ(argumentsAfterProgramName(L"quendax.exe /auto now "), L"/auto now ");
    EXPECT_EQ(argumentsAfterProgramName(L"\"C:\\My Tools\\q.exe\"\t/AUTO /QUIT"), L"/AUTO /QUIT");
}

TEST(Win32CommandLine, QuotesOpenAndCloseStretchesInsideTheName) {
    // The name runs on after a closing quote until a blank outside quotes.
    EXPECT_EQ(argumentsAfterProgramName(L"\"C:\\A B\"\\q.exe /auto"), L"/auto");
    EXPECT_EQ(argumentsAfterProgramName(L"C:\\\"A B\"\\q.exe x"), L"x");
    // An unclosed quote takes the whole line as the name.
    EXPECT_EQ(argumentsAfterProgramName(L"\"C:\\A B\\q.exe /auto"), L"");
}

TEST(Win32CommandLine, ThisProcessLosesItsOwnName) {
    const std::wstring whole = ::GetCommandLineW();
    ASSERT_NE(whole.find(L"qx_win32_tests"), std::wstring::npos);
    const std::string arguments = commandLineArguments();
    EXPECT_EQ(arguments.find("qx_win32_tests"), std::string::npos) << arguments;
}

}  // namespace
}  // namespace qx::win32
