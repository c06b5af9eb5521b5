// What the toolkit leaves to the program on X11, each one request to the
// X server on the toolkit's own connection; nothing off X11.
#pragma once

class QWidget;

namespace qx::qt {

// Whether an XEmbed notification area (trayer, older panels) runs on the
// display: it owns the selection _NET_SYSTEM_TRAY_S0.
bool xembedTrayPresent();

// A window that was shown minimized keeps the "start iconic" hint Qt gave
// it until Qt minimizes or restores it again. A window manager that reports
// the withdrawal of a hidden window in full (xfwm4) leaves Qt thinking the
// window normal, so the next show never clears the hint and the window
// manager keeps it iconic, for good. Clears that hint of a window about to
// be shown normal.
void clearIconicStartHint(QWidget& window);

}  // namespace qx::qt
