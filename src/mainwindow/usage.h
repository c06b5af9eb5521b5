// What the program says about itself on the command line: the usage text
// and the version line, for every platform's entry (a terminal on Linux, a
// message box on Windows), and which of the two a command line asks for.
#pragma once

#include <string>
#include <string_view>

namespace qx {

enum class InfoRequest { none, help, version };

// "--help" or "-h" asks for the usage text, "--version" for the version line;
// each only as the whole command line, exactly as written. Anything else,
// "/AUTO" and "/QUIT" among it, asks for neither and starts the program.
InfoRequest InfoRequestFor(std::string_view commandLine);

// "quendax 3.1.0.3".
std::string VersionText();

// The usage text: what the program is, its two switches, the platform's
// `figureSources` (where the figures are read from) and, when not empty, the
// `testingAids` of this build. Lines end in '\n'; both texts are used as given.
std::string UsageText(std::string_view figureSources, std::string_view testingAids);

// The usage for a message box ("quendax.exe /?"): the same switches in a few
// short paragraphs, each on one line for the box to wrap, no columns.
std::string UsageBoxText();

}  // namespace qx
