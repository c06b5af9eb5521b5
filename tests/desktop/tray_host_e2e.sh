#!/usr/bin/env bash
# End to end on a real X desktop: the notification area (trayer) goes away
# while the window is hidden in it. The window comes back, the program says
# why on standard error, and when a notification area starts again the icon
# is added to it.
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
. "$(dirname "$0")/xvfb_tray.sh"
if tool=$(missing_tool Xvfb trayer xdotool xwininfo); then
  echo "SKIPPED: $tool is not installed (Debian packages xvfb, trayer, xdotool, x11-utils)"
  exit 77
fi

fail() { echo "FAILED: $*"; [ -s "$work/quendax.err" ] && { echo "--- quendax stderr:"; cat "$work/quendax.err"; }; exit 1; }

start_xvfb 141 190 1280x800x24 || fail "Xvfb did not start"
start_trayer || fail "trayer did not start"

# Hidden in the notification area from the start. trayer's window can be
# there a moment before it owns the notification area; a start that found
# none (and so minimized instead of hiding) is tried again.
for attempt in 1 2 3; do
  "$quendax" /AUTO >"$work/quendax.out" 2>"$work/quendax.err" &
  app=$!
  track "$app"
  sleep 1
  grep -q "no notification area was found" "$work/quendax.err" || break
  kill "$app"; wait "$app" 2>/dev/null
  untrack "$app"
  [ "$attempt" = 3 ] && fail "trayer never took the notification area"
done

main_visible() { xdotool search --onlyvisible --name '^Quendax$' >/dev/null 2>&1; }
icon_shown() {
  local w geometry width height
  for w in $(xdotool search --class quendax 2>/dev/null); do
    geometry=$(xwininfo -id "$w" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$geometry" || continue
    width=$(awk '/^  Width:/{print $2}' <<<"$geometry")
    height=$(awk '/^  Height:/{print $2}' <<<"$geometry")
    [ "$width" -le 64 ] && [ "$height" -le 64 ] && return 0
  done
  return 1
}
wait_for 100 icon_shown || fail "the icon did not appear in the notification area"
sleep 0.5
main_visible && fail "/AUTO showed the window"

# The panel crashes.
kill -9 "$trayer_pid"
wait "$trayer_pid" 2>/dev/null
wait_for 50 main_visible || fail "the window did not come back when the notification area went away"
grep -q "notification area went away" "$work/quendax.err" || fail "nothing was said on standard error"
[ "$(grep -c "notification area went away" "$work/quendax.err")" = 1 ] || fail "it was said more than once"

# A new panel: the icon goes in again.
untrack "$trayer_pid"
start_trayer || fail "trayer did not start"
wait_for 100 icon_shown || fail "the icon was not added to the new notification area"
kill -0 "$app" 2>/dev/null || fail "the program ended"
echo "passed: the window came back when the notification area went, the icon went into the new one"
