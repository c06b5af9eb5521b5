// Starting without a screen: the program names the display or platform
// plugin it tried (when it tried one), says what to do in one line and exits
// with status 2, instead of letting the toolkit abort with a core dump.
#pragma once

#include <QString>

namespace qx::qt {

inline constexpr const char* kNoDisplayMessage =
    "quendax: no display found; set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen to run "
    "without a screen";
inline constexpr int kNoDisplayStatus = 2;
// Where Qt has no Wayland plugin: without an X display to fall back on, and
// when one (XWayland) carries on.
inline constexpr const char* kNoWaylandPluginMessage =
    "quendax: the Qt platform plugin \"wayland\" is not installed; install the package qt6-wayland "
    "(or set DISPLAY to run through XWayland)";
inline constexpr const char* kXWaylandFallbackMessage =
    "quendax: the Qt platform plugin \"wayland\" is not installed (package qt6-wayland); running through "
    "XWayland";

// Whether the environment names a display or a platform plugin (each
// argument is the variable's value, nullptr when unset).
bool displayConfigured(const char* display, const char* waylandDisplay, const char* platform);
// The same for this process's environment and arguments ("-platform").
bool displayConfigured(int argc, char** argv);

// The line naming what the toolkit failed to open, from one of its messages:
// `quendax: cannot open the display ":91"` or `quendax: cannot start the
// platform plugin "xcb"`; empty for a message that names neither.
QString displayFailureLine(const QString& message);

// Whether one of the toolkit's messages says the Wayland plugin is missing.
bool isMissingWaylandPlugin(const QString& message);

// Turns the toolkit's fatal "cannot connect to the display" into the line
// above and exit status 2. Install before the application object exists.
void installDisplayFailureHandler();
// Once the application object exists: says in one line that the program
// runs through XWayland for want of the Wayland plugin, if it does.
void reportPlatformFallback();

}  // namespace qx::qt
