#!/usr/bin/env bash
# End to end on X11 with a window manager (openbox) and no notification
# area at start, as at log-in: "quendax /AUTO" leaves the window minimized,
# and a StatusNotifierItem host that registers later with the watcher that
# was already there gets the icon (the Wayland test has the watcher come
# later).
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
here=$(cd "$(dirname "$0")" && pwd)
own_bus=1  # a session bus of its own, ended with the script
. "$here/xvfb_tray.sh"
if tool=$(missing_tool Xvfb openbox xdotool xprop status-notifier-watcher dbus-send /usr/bin/python3); then
  echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"
  exit 77
fi
fail() { echo "FAILED: $*"; cat "$work"/*.err "$work"/*.log 2>/dev/null; exit 1; }

start_xvfb 191 240 1024x768x24 || fail "Xvfb did not start"
openbox >"$work/openbox.log" 2>&1 &
track $!
wait_for 100 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"

status-notifier-watcher >"$work/watcher.log" 2>&1 &
track $!
wait_for 50 dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner \
  string:org.kde.StatusNotifierWatcher || fail "the watcher did not start"
"$quendax" /AUTO >/dev/null 2>"$work/quendax.err" &
app=$!
track "$app"
window_state() {
  local w
  for w in $(xdotool search --name '^Quendax$' 2>/dev/null); do xprop -id "$w" WM_STATE 2>/dev/null; done
}
wait_for 100 grep -q "minimized instead of hidden" "$work/quendax.err" || fail "no word of the missing notification area"
wait_for 50 eval 'window_state | grep -q "window state: Iconic"' || fail "the window is not minimized: $(window_state)"

/usr/bin/python3 "$here/sni_host.py" >"$work/host.log" 2>&1 &
track $!
items() { dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
  org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems; }
wait_for 100 eval 'items | grep -q "StatusNotifierItem-$app-"' || fail "the icon did not register with the late host"
# A host trying a method the item lacks hears so, and falls back.
dbus-send --session --print-reply --dest="org.kde.StatusNotifierItem-$app-1" /StatusNotifierItem \
  org.kde.StatusNotifierItem.ProvideXdgActivationToken string:t 2>&1 | grep -q UnknownMethod || fail "no UnknownMethod"
echo "passed: /AUTO left the window minimized, the icon registered with a host that came later"
