// Starting without a screen: the program says so in one line and exits
// with status 2, instead of letting the toolkit abort with a core dump.
#pragma once

namespace qx::qt {

inline constexpr const char* kNoDisplayMessage =
    "quendax: no display found; set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen to run "
    "without a screen";
inline constexpr int kNoDisplayStatus = 2;

// Whether the environment names a display or a platform plugin (each
// argument is the variable's value, nullptr when unset).
bool displayConfigured(const char* display, const char* waylandDisplay, const char* platform);
// The same for this process's environment and arguments ("-platform").
bool displayConfigured(int argc, char** argv);

// Turns the toolkit's fatal "cannot connect to the display" into the line
// above and exit status 2. Install before the application object exists.
void installDisplayFailureHandler();

}  // namespace qx::qt
