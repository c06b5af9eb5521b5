#include "platform/qt/session_bus.h"

#include <QFileInfo>
#include <QString>

namespace qx::qt {

namespace {

bool busMayBeFound() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QLatin1String("/bus"))) return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY");
}

}  // namespace

QDBusConnection sessionBusIfAny() {
    static const bool mayBeFound = busMayBeFound();
    // No name: not connected, and not even the thread of Qt's connections
    // is started for it.
    return mayBeFound ? QDBusConnection::sessionBus() : QDBusConnection(QString());
}

}  // namespace qx::qt
