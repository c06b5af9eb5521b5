#!/usr/bin/env bash
# A panel that stops answering must not freeze the window. Under Xvfb, with
# a StatusNotifierItem watcher and host of their own bus: the window's
# repaint after a strip of it was covered (qx_repaint_probe) stays under
# 300 ms while the watcher and host are stopped (SIGSTOP) after the start
# and before it; the window then appears within 5 s, and when they go on the
# icon finds its way in. At rest the program opens no bus connections.
# Usage: hung_panel_e2e.sh QUENDAX REPAINT_PROBE
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
own_bus=1  # a session bus of its own, ended with the script
. "$here/xvfb_tray.sh"
if tool=$(missing_tool Xvfb xdotool status-notifier-watcher dbus-monitor gdbus /usr/bin/python3 "$probe"); then
  echo "SKIPPED: $tool is not installed (scripts/install-deps.sh; the probe comes with the benchmarks)"
  exit 77
fi
fail() { echo "FAILED: $*"; cat "$work"/*.err 2>/dev/null; exit 1; }
items() { gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
  -m org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems; }
# The longest repaint the probe saw, in whole ms.
longest() { awk 'BEGIN { m = 0 } $2 > m { m = $2 } END { printf "%d", m }' "$1"; }
# Probes the window of `pid` for `seconds`, then closes the program.
probe_for() {
  local pid=$1 seconds=$2 out=$3
  "$probe" Quendax "$pid" >"$out" 2>"$out.err" &
  local probing=$!
  sleep "$seconds"
  kill "$pid"; wait "$probing"
  [ -s "$out" ] || fail "the probe saw no window: $(cat "$out.err")"
}

start_xvfb 241 290 1024x768x24 || fail "Xvfb did not start"
status-notifier-watcher >"$work/watcher.log" 2>&1 &
watcher=$!; track "$watcher"
wait_for 50 items || fail "the watcher did not start"
/usr/bin/python3 "$here/sni_host.py" >"$work/host.log" 2>&1 &
host=$!; track "$host"

# At rest with a healthy panel: no new connection to the bus in 5 s.
"$quendax" >/dev/null 2>"$work/first.err" &
app=$!; track "$app"
wait_for 100 eval 'items | grep -q "StatusNotifierItem-$app-"' || fail "the icon did not register"
sleep 1
dbus-monitor --session "type='signal',member='NameOwnerChanged'" >"$work/names.log" 2>&1 &
monitor=$!; track "$monitor"
sleep 5
kill "$monitor"
# A new connection's name gets its first owner: NameOwnerChanged(name, "", name).
connections=$(awk '/member=NameOwnerChanged/ { n = 0; next } /^ *string/ { n++; if (n == 2 && $2 == "\"\"") new++ } END { print new + 0 }' "$work/names.log")
[ "$connections" = 0 ] || fail "$connections new bus connection(s) in 5 s at rest"

# Stopped after the start.
kill -STOP "$watcher" "$host"
probe_for "$app" 6 "$work/after.txt"
after=$(longest "$work/after.txt")
[ "$after" -le 300 ] || fail "with the panel stopped after the start a repaint took $after ms"

# Stopped before the start: the window comes within 5 s and repaints.
started=$(date +%s%N)
"$quendax" >/dev/null 2>"$work/second.err" &
app=$!; track "$app"
wait_for 50 xdotool search --onlyvisible --name '^Quendax$' || fail "no window within 5 s with the panel stopped"
appeared=$(( ($(date +%s%N) - started) / 1000000 ))
"$probe" Quendax "$app" >"$work/before.txt" 2>"$work/before.err" &
probing=$!
sleep 6
before=$(longest "$work/before.txt")
# The panel goes on: the icon gets in.
kill -CONT "$watcher" "$host"
wait_for 150 eval 'items | grep -q "StatusNotifierItem-$app-"' || fail "the icon did not register once the panel went on"
wait_for 100 grep -q "a notification area came" "$work/second.err" || fail "the program did not hear the panel come back"
kill "$app"; wait "$probing"
[ "$before" -le 300 ] || fail "with the panel stopped before the start a repaint took $before ms"
echo "passed: 0 new bus connections at rest; longest repaint with the panel stopped after the start $after ms, before it $before ms; the window appeared after $appeared ms"
