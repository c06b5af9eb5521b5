// Texts between the program's UTF-8 and the UTF-16 of the Windows W calls.
#pragma once

#include <string>
#include <string_view>

namespace qx::win32 {

// False, leaving `wide` empty, when `utf8` isn't valid UTF-8.
bool toUtf16(std::string_view utf8, std::wstring& wide);

// Unpaired surrogates become U+FFFD. NUL characters are kept.
std::string toUtf8(std::wstring_view wide);

}  // namespace qx::win32
