#!/usr/bin/env bash
# End to end on a real Wayland compositor (sway, headless): the window shows
# natively, the notification-area icon registers with a StatusNotifierItem
# host that comes after the program (as at log-in), "Top Most" says once that
# this desktop keeps no window on top, and without the Wayland plugin the
# program names the package that brings it. sway refuses to run as root: the
# compositor and the program run as a user this test creates.
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in sway grim status-notifier-watcher dbus-run-session dbus-send /usr/bin/python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done
/usr/bin/python3 -c 'import gi, pyatspi' 2>/dev/null || { echo "SKIPPED: python3-gi or python3-pyatspi is missing"; exit 77; }
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || { echo "SKIPPED: qt6-wayland is not installed"; exit 77; }
. "$here/test_user.sh"
work=$(mktemp -d); chmod 755 "$work"
cp "$quendax" "$work/quendax"
# The same program without the Wayland plugin: a plugin folder of its own
# holding only the X11 one.
mkdir -p "$work/noway/platforms"
ln -s /usr/lib/*/qt6/plugins/platforms/libqxcb.so "$work/noway/platforms/"
cp "$quendax" "$work/noway/quendax"; printf '[Paths]\nPlugins = %s\n' "$work/noway" >"$work/noway/qt.conf"
chmod -R a+rX "$work"
trap 'rm -rf "$work" "$run"' EXIT
fail() { echo "FAILED: $*"; for f in "$work"/out/*; do echo "--- $f:"; head -c 3000 "$f"; done; exit 1; }

# Everything in the user's session runs in one script, which ends each
# process it started by its pid.
mkdir "$work/out"; chmod 777 "$work/out"
cat >"$work/session.sh" <<'INNER'
set -u
work=$1; here=$2; out=$work/out
pids=
cleanup() { for p in $pids; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; }
trap cleanup EXIT
wait_for() { local t=$1; shift; for _ in $(seq "$t"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
items() { dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
  org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems; }
# Qt's own icon is listed by its connection's unique name, not by its pid.
registered() { [ "$(items | grep -c '^ *string "')" -ge "$1" ]; }
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c /dev/null >"$out/sway.log" 2>&1 &
pids="$! $pids"
wait_for 100 test -S "$XDG_RUNTIME_DIR/wayland-1" || { echo "sway did not start"; exit 1; }
export WAYLAND_DISPLAY=wayland-1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset DISPLAY
# Without the plugin and without an X display: the package is named.
"$work/noway/quendax" >/dev/null 2>"$out/noway.err"; echo "noway status $?"
# Started before the notification area, as at log-in.
"$work/quendax" /AUTO >/dev/null 2>"$out/quendax.err" &
app=$!; pids="$app $pids"
sleep 2
status-notifier-watcher >"$out/watcher.log" 2>&1 &
pids="$! $pids"
wait_for 50 dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner \
  string:org.kde.StatusNotifierWatcher || { echo "the watcher did not start"; exit 1; }
/usr/bin/python3 "$here/sni_host.py" >"$out/host.log" 2>&1 &
pids="$! $pids"
wait_for 100 registered 1 && echo "late host: registered" || echo "late host: not registered"
# "Top Most", twice, as a screen reader would choose it.
/usr/bin/python3 "$here/atspi_tree.py" press "Top Most" >"$out/atspi.log" 2>&1
/usr/bin/python3 "$here/atspi_tree.py" press "Top Most" >>"$out/atspi.log" 2>&1
sleep 1
grim "$out/screen.png" 2>"$out/grim.log"
# A second instance while the host is there registers at once.
"$work/quendax" >/dev/null 2>"$out/second.err" &
second=$!; pids="$second $pids"
wait_for 50 registered 2 && echo "second: registered" || echo "second: not registered"
INNER
as_user env XDG_RUNTIME_DIR="$run" dbus-run-session -- bash "$work/session.sh" "$work" "$here" \
  >"$work/out/session.log" 2>&1
log=$(cat "$work/out/session.log")

grep -q "noway status 2" <<<"$log" || fail "without the Wayland plugin the program did not end with status 2"
grep -q 'plugin "wayland" is not installed; install the package qt6-wayland' "$work/out/noway.err" \
  || fail "without the Wayland plugin the message does not name qt6-wayland"
grep -q "late host: registered" <<<"$log" || fail "the icon did not register with a host that came later"
grep -q "second: registered" <<<"$log" || fail "a second instance did not register"
[ "$(grep -c "does not let programs keep a window on top" "$work/out/quendax.err")" = 1 ] \
  || fail "Top Most did not say its line exactly once"
# The window is there, drawn natively: the screenshot is not all one colour.
colours=$(convert "$work/out/screen.png" -format %k info: 2>/dev/null) || fail "no screenshot"
[ "${colours:-0}" -gt 20 ] || fail "the screenshot shows no window ($colours colours)"
grep -qi "xcb\|xwayland" "$work/out/second.err" && fail "the program did not run natively on Wayland"
echo "passed: native Wayland window, icon registered with a late host, Top Most said its line, qt6-wayland named"
