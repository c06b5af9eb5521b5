// Texts between the program's UTF-8 and the UTF-16 of the Windows W calls:
// the one converter of the Windows code, the window layer's and the rest.
#pragma once

#include <string>
#include <string_view>

namespace qx::win32 {

// False, leaving `wide` empty, when `utf8` isn't valid UTF-8: for texts
// that must reach the system exactly as given (a program to start, a
// registry key, a command line).
bool toUtf16(std::string_view utf8, std::wstring& wide);

// For texts that are only shown (captions, tips, message boxes): invalid
// UTF-8 comes out as U+FFFD, never as a cut-off or empty text.
std::wstring toUtf16ForDisplay(std::string_view utf8);

// Unpaired surrogates become U+FFFD. NUL characters are kept.
std::string toUtf8(std::wstring_view wide);

}  // namespace qx::win32
