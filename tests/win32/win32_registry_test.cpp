// Registry lookups through the W calls, against values the tests write into
// HKEY_LOCAL_MACHINE of the Wine prefix; and the About box's reading rules
// on top of them.
#include <gtest/gtest.h>

#include "about/frm_about.h"
#include "mainwindow/frm_main.h"
#include "platform/win32/win32_registry.h"
#include "registry_writer.h"
#include "win32_test_system.h"

namespace qx::win32 {
namespace {

const std::wstring kTestKey = L"SOFTWARE\\Quendax Tests\\Registry";
const std::string kTestKeyUtf8 = "SOFTWARE\\Quendax Tests\\Registry";

struct RegistryTest : ::testing::Test {
    Win32Registry registry;
    void SetUp() override { removeKey(kTestKey); }
    void TearDown() override { removeKey(kTestKey); }
};

TEST_F(RegistryTest, TextComesBackInUtf8WithItsClosingNul) {
    ASSERT_TRUE(writeText(kTestKey, L"Path", L"C:\\Pr\u00FCfung \u20AC\\tool.exe"));
    RegistryValue value;
    ASSERT_TRUE(registry.queryValue(kTestKeyUtf8, "Path", value));
    EXPECT_EQ(value.type, 1u);
    EXPECT_EQ(value.data, std::string("C:\\Pr\xC3\xBC" "fung \xE2\x82\xAC\\tool.exe\0", 25));
}

TEST_F(RegistryTest, ExpandableTextKeepsItsType) {
    ASSERT_TRUE(writeText(kTestKey, L"Expand", L"%SystemRoot%\\x.exe", REG_EXPAND_SZ));
    RegistryValue value;
    ASSERT_TRUE(registry.queryValue(kTestKeyUtf8, "Expand", value));
    EXPECT_EQ(value.type, 2u);
    EXPECT_EQ(value.data, std::string("%SystemRoot%\\x.exe\0", 19));
}

TEST_F(RegistryTest, NumbersComeBackAsStored) {
    const DWORD number = 0x3039;
    ASSERT_TRUE(writeValue(kTestKey, L"Number", REG_DWORD, &number, sizeof number));
    RegistryValue value;
    ASSERT_TRUE(registry.queryValue(kTestKeyUtf8, "Number", value));
    EXPECT_EQ(value.type, 4u);
    EXPECT_EQ(value.data, std::string("\x39\x30\x00\x00", 4));
}

TEST_F(RegistryTest, MissingKeysAndValues) {
    RegistryValue value;
    EXPECT_FALSE(registry.openKey(kTestKeyUtf8));
    EXPECT_FALSE(registry.queryValue(kTestKeyUtf8, "Path", value));
    ASSERT_TRUE(writeText(kTestKey, L"Other", L"x"));
    EXPECT_TRUE(registry.openKey(kTestKeyUtf8));
    EXPECT_FALSE(registry.queryValue(kTestKeyUtf8, "Path", value));
    EXPECT_FALSE(registry.openKey("SOFTWARE\\Quendax Tests\\No Such Key"));
}

TEST_F(RegistryTest, TextsTooLongForTheBufferAreAbsent) {
    ASSERT_TRUE(writeText(kTestKey, L"Long", std::wstring(Win32Registry::kQueryBufferBytes, L'a')));
    RegistryValue value;
    EXPECT_FALSE(registry.queryValue(kTestKeyUtf8, "Long", value));
}

// The About box's reading on the real registry.
struct AboutRegistryTest : RegistryTest {
    Win32TestSystem system;
    ModMemory memory{system};
    FrmMain main{system, memory};
    FrmAbout about{main};
};

TEST_F(AboutRegistryTest, ValuesOf1024BytesAreReadOf1025BytesNot) {
    // 1,023 characters and the NUL: 1,024 bytes as the program's text.
    ASSERT_TRUE(writeText(kTestKey, L"Fits", std::wstring(1023, L'a')));
    ASSERT_TRUE(writeText(kTestKey, L"TooLong", std::wstring(1024, L'b')));
    std::string text = "as passed";
    EXPECT_TRUE(about.GetKeyValue(kTestKeyUtf8, "Fits", text));
    EXPECT_EQ(text, std::string(1023, 'a'));
    EXPECT_FALSE(about.GetKeyValue(kTestKeyUtf8, "TooLong", text));
    EXPECT_EQ(text, "");
    // The limit counts bytes of the text: 512 two-byte characters are 1,025.
    ASSERT_TRUE(writeText(kTestKey, L"Wide", std::wstring(512, L'\u00FC')));
    text = "x";
    EXPECT_FALSE(about.GetKeyValue(kTestKeyUtf8, "Wide", text));
    ASSERT_TRUE(writeText(kTestKey, L"WideFits", std::wstring(511, L'\u00FC') + L"a"));
    EXPECT_TRUE(about.GetKeyValue(kTestKeyUtf8, "WideFits", text));
    EXPECT_EQ(text.size(), 1023u);
}

TEST_F(AboutRegistryTest, ExpandableTextIsReadButLeavesTheTextAsItWas) {
    ASSERT_TRUE(writeText(kTestKey, L"Expand", L"%SystemRoot%", REG_EXPAND_SZ));
    std::string text = "as passed";
    EXPECT_TRUE(about.GetKeyValue(kTestKeyUtf8, "Expand", text));
    EXPECT_EQ(text, "as passed");
}

TEST_F(AboutRegistryTest, AMissingKeyGivesAnEmptyText) {
    std::string text = "as passed";
    EXPECT_FALSE(about.GetKeyValue("SOFTWARE\\Quendax Tests\\No Such Key", "PATH", text));
    EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace qx::win32
