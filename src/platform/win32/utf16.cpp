#include "platform/win32/utf16.h"

#include <climits>

#include <windows.h>

namespace qx::win32 {

namespace {

// MB_ERR_INVALID_CHARS refuses invalid UTF-8; without it each bad byte
// sequence becomes U+FFFD.
bool convert(std::string_view utf8, DWORD flags, std::wstring& wide) {
    wide.clear();
    if (utf8.empty()) return true;
    if (utf8.size() > INT_MAX) return false;
    const int length = static_cast<int>(utf8.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), length, nullptr, 0);
    if (units <= 0) return false;
    wide.resize(static_cast<std::size_t>(units));
    if (::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), length, wide.data(), units) != units) {
        wide.clear();
        return false;
    }
    return true;
}

}  // namespace

bool toUtf16(std::string_view utf8, std::wstring& wide) { return convert(utf8, MB_ERR_INVALID_CHARS, wide); }

std::wstring toUtf16ForDisplay(std::string_view utf8) {
    std::wstring wide;
    convert(utf8, 0, wide);
    return wide;
}

std::string toUtf8(std::wstring_view wide) {
    std::string utf8;
    if (wide.empty() || wide.size() > INT_MAX) return utf8;
    const int length = static_cast<int>(wide.size());
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return utf8;
    utf8.resize(static_cast<std::size_t>(bytes));
    if (::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), bytes, nullptr, nullptr) != bytes) {
        utf8.clear();
    }
    return utf8;
}

}  // namespace qx::win32
