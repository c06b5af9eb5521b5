// Texts between the program (UTF-8) and the window system's W functions
// (UTF-16). Invalid UTF-8 comes out as U+FFFD, never as a cut-off text.
#pragma once

#include <string>
#include <string_view>

namespace qx::win32ui {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace qx::win32ui
