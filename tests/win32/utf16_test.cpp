// UTF-8 and UTF-16 conversions of the Windows code (window layer and backend).
#include <gtest/gtest.h>

#include "platform/win32/utf16.h"

namespace qx::win32 {
namespace {

TEST(Utf16, TextsRoundTripWithNonAsciiCharactersAndNuls) {
    const std::string utf8("C:\\Pr\xC3\xBC" "fung \xE2\x82\xAC\\\xF0\x9F\x98\x80\0end", 24);
    std::wstring wide;
    ASSERT_TRUE(toUtf16(utf8, wide));
    EXPECT_EQ(wide, std::wstring(L"C:\\Pr\u00FCfung \u20AC\\\U0001F600", 15) + std::wstring(L"\0end", 4));
    EXPECT_EQ(toUtf8(wide), utf8);
}

TEST(Utf16, InvalidUtf8IsRefused) {
    std::wstring wide = L"left over";
    EXPECT_FALSE(toUtf16("bad \xC3", wide));
    EXPECT_TRUE(wide.empty());
    EXPECT_FALSE(toUtf16("\xFF", wide));
}

TEST(Utf16, InvalidUtf8IsShownAsReplacementCharacters) {
    EXPECT_EQ(toUtf16ForDisplay("bad \xC3 \xFF"), L"bad \uFFFD \uFFFD");
    EXPECT_EQ(toUtf16ForDisplay("\xE2\x82\xAC"), L"\u20AC");
    EXPECT_EQ(toUtf16ForDisplay(""), L"");
}

TEST(Utf16, EmptyTexts) {
    std::wstring wide = L"x";
    EXPECT_TRUE(toUtf16("", wide));
    EXPECT_TRUE(wide.empty());
    EXPECT_EQ(toUtf8(L""), "");
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(toUtf8(std::wstring(L"a") + wchar_t(0xD800) + L"b"), "a\xEF\xBF\xBD" "b");
}

}  // namespace
}  // namespace qx::win32
