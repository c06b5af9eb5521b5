// The session bus, only where there can be one.
#pragma once

#include <QDBusConnection>

namespace qx::qt {

// QDBusConnection::sessionBus() where libdbus can find a bus: its address is
// in the environment, the user's runtime folder has its socket, or there is
// an X display to look one up through (and start one for). Elsewhere, as on
// the offscreen platform without a bus, a connection that never connects:
// asking libdbus would only fail, after starting a thread for it.
QDBusConnection sessionBusIfAny();

}  // namespace qx::qt
