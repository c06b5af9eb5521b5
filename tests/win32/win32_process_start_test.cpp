// Starting programs and testing for files with the real calls: a probe
// program copied to a folder whose name holds a blank and an "&", beside a
// decoy C:\Program.exe that a plain command line would start instead.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include "about/frm_about.h"
#include "mainwindow/frm_main.h"
#include "platform/win32/utf16.h"
#include "platform/win32/win32_process_start.h"
#include "registry_writer.h"
#include "win32_test_system.h"

namespace qx::win32 {
namespace {

const std::wstring kFolder = L"C:\\Program Quendax & Co";
const std::wstring kProbe = kFolder + L"\\probe tool.exe";
const std::wstring kDecoy = L"C:\\Program.exe";

std::wstring ownFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits up to 20 s for the probe at `program` to have run.
bool ran(const std::wstring& program) {
    for (int i = 0; i < 400; ++i) {
        if (exists(program + L".ran")) return true;
        ::Sleep(50);
    }
    return false;
}

std::string utf8(const std::wstring& text) { return toUtf8(text); }

struct StartTest : ::testing::Test {
    void SetUp() override {
        const std::wstring probe = ownFolder() + L"\\qx_start_probe.exe";
        ASSERT_TRUE(exists(probe)) << utf8(probe);
        ::CreateDirectoryW(kFolder.c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW(probe.c_str(), kProbe.c_str(), FALSE));
        ASSERT_TRUE(::CopyFileW(probe.c_str(), kDecoy.c_str(), FALSE));
        forgetRuns();
    }
    void TearDown() override {
        forgetRuns();
        ::DeleteFileW(kProbe.c_str());
        ::DeleteFileW(kDecoy.c_str());
        ::RemoveDirectoryW(kFolder.c_str());
    }
    static void forgetRuns() {
        ::DeleteFileW((kProbe + L".ran").c_str());
        ::DeleteFileW((kDecoy + L".ran").c_str());
    }
};

TEST(QuotedProgramPath, QuotesThePathAndRefusesQuotesInIt) {
    EXPECT_EQ(quotedProgramPath(L"C:\\Program Files\\a&b.exe"), L"\"C:\\Program Files\\a&b.exe\"");
    EXPECT_EQ(quotedProgramPath(L"C:\\a\"b.exe"), L"");
    EXPECT_EQ(quotedProgramPath(L""), L"");
}

// Shows the decoy works: Windows reads an unquoted path with blanks as
// C:\Program.exe and arguments.
TEST_F(StartTest, APlainCommandLineWouldStartTheDecoy) {
    std::wstring commandLine = kProbe;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &process));
    ::WaitForSingleObject(process.hProcess, 20000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_TRUE(exists(kDecoy + L".ran"));
    EXPECT_FALSE(exists(kProbe + L".ran"));
}

TEST_F(StartTest, StartsExactlyTheFileNamed) {
    ASSERT_TRUE(startProgram(utf8(kProbe)));
    ASSERT_TRUE(ran(kProbe));
    ::Sleep(200);
    EXPECT_FALSE(exists(kDecoy + L".ran"));
}

TEST_F(StartTest, RefusesWhatIsNoProgram) {
    EXPECT_FALSE(startProgram(utf8(kFolder + L"\\no such tool.exe")));
    EXPECT_FALSE(startProgram(utf8(kFolder)));
    EXPECT_FALSE(startProgram(""));
    EXPECT_FALSE(startProgram("bad \xC3"));
    ::Sleep(200);
    EXPECT_FALSE(exists(kDecoy + L".ran"));
}

TEST_F(StartTest, FileTestCountsOnlyOrdinaryFiles) {
    EXPECT_TRUE(fileExists(utf8(kProbe)));
    EXPECT_FALSE(fileExists(utf8(kFolder)));
    EXPECT_FALSE(fileExists(utf8(kFolder + L"\\missing.exe")));
    EXPECT_FALSE(fileExists(""));

    const std::wstring hidden = kFolder + L"\\hidden.exe";
    const std::wstring system = kFolder + L"\\system.exe";
    ASSERT_TRUE(::CopyFileW(kProbe.c_str(), hidden.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(kProbe.c_str(), system.c_str(), FALSE));
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_NE(::GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "attributes not kept";
    ASSERT_NE(::GetFileAttributesW(system.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u) << "attributes not kept";
    EXPECT_FALSE(fileExists(utf8(hidden)));
    EXPECT_FALSE(fileExists(utf8(system)));
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(fileExists(utf8(hidden)));
    ::DeleteFileW(hidden.c_str());
    ::DeleteFileW(system.c_str());
}

// The About box's "System Info..." through both registry locations.
const std::wstring kPathKey = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::wstring kFolderKey = L"SOFTWARE\\Microsoft\\Shared Tools Location";

struct SystemInfoTest : StartTest {
    Win32TestSystem system;
    ModMemory memory{system};
    FrmMain main{system, memory};
    FrmAbout about{main};
    const std::wstring tool = kFolder + L"\\MSINFO32.EXE";

    void SetUp() override {
        StartTest::SetUp();
        removeValues();
        ASSERT_TRUE(::CopyFileW(kProbe.c_str(), tool.c_str(), FALSE));
    }
    void TearDown() override {
        removeValues();
        ::DeleteFileW((tool + L".ran").c_str());
        ::DeleteFileW(tool.c_str());
        StartTest::TearDown();
    }
    static void removeValues() {
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPathKey.c_str(), L"PATH");
        ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kFolderKey.c_str(), L"MSINFO");
    }
};

TEST_F(SystemInfoTest, StartsThePathOfTheFirstLocation) {
    ASSERT_TRUE(writeText(kPathKey, L"PATH", kProbe));
    about.StartSysInfo();
    EXPECT_TRUE(system.messages.empty());
    EXPECT_TRUE(ran(kProbe));
    EXPECT_FALSE(exists(kDecoy + L".ran"));
}

TEST_F(SystemInfoTest, StartsTheToolInTheFolderOfTheSecondLocation) {
    ASSERT_TRUE(writeText(kFolderKey, L"MSINFO", kFolder));
    about.StartSysInfo();
    EXPECT_TRUE(system.messages.empty());
    EXPECT_TRUE(ran(tool));
    EXPECT_FALSE(exists(kDecoy + L".ran"));
}

TEST_F(SystemInfoTest, AHiddenToolInTheFolderIsNotStarted) {
    ASSERT_TRUE(writeText(kFolderKey, L"MSINFO", kFolder));
    ASSERT_TRUE(::SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_HIDDEN));
    about.StartSysInfo();
    ::SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0], "Unable to start System Information!");
}

TEST_F(SystemInfoTest, AnExpandableFirstValueStartsNothing) {
    ASSERT_TRUE(writeText(kPathKey, L"PATH", kProbe, REG_EXPAND_SZ));
    about.StartSysInfo();
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0], "Unable to start System Information!");
    ::Sleep(200);
    EXPECT_FALSE(exists(kProbe + L".ran"));
    EXPECT_FALSE(exists(kDecoy + L".ran"));
}

TEST_F(SystemInfoTest, NeitherLocationGivesTheMessage) {
    about.StartSysInfo();
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0], "Unable to start System Information!");
}

}  // namespace
}  // namespace qx::win32
