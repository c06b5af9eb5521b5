// Whether an X11 notification area (an XEmbed system tray: trayer, older
// panels) runs on the display: it owns the selection _NET_SYSTEM_TRAY_S0.
// One question to the X server; false off X11.
#pragma once

namespace qx::qt {

bool xembedTrayPresent();

}  // namespace qx::qt
