#!/usr/bin/python3
# The least StatusNotifierItem host: takes a host name on the session bus,
# registers it with the watcher and stays until it is ended.
import os
from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
name = "org.kde.StatusNotifierHost-%d" % os.getpid()
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", (name, 0)), None, 0, -1, None)
bus.call_sync("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
              "RegisterStatusNotifierHost", GLib.Variant("(s)", (name,)), None, 0, -1, None)
GLib.MainLoop().run()
