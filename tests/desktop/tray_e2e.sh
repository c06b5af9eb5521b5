#!/usr/bin/env bash
# End to end on a real X desktop: Xvfb, a notification area (trayer) and the
# real program. The icon appears; a double-click on it hides and shows the
# window; a right-click opens the pop-up, whose "&Exit" removes the icon and
# ends the process.
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
. "$(dirname "$0")/xvfb_tray.sh"
if tool=$(missing_tool Xvfb trayer xdotool xwininfo); then
  echo "SKIPPED: $tool is not installed (Debian packages xvfb, trayer, xdotool, x11-utils)"
  exit 77
fi

fail() { echo "FAILED: $*"; [ -s "$work/quendax.err" ] && { echo "--- quendax stderr:"; cat "$work/quendax.err"; }; exit 1; }

start_xvfb 91 140 1280x800x24 || fail "Xvfb did not start"
start_trayer || fail "trayer did not start"

"$quendax" >"$work/quendax.out" 2>"$work/quendax.err" &
app=$!
track "$app"

main_visible() { xdotool search --onlyvisible --name '^Quendax$' >/dev/null 2>&1; }
wait_for 150 main_visible || fail "the main window did not appear"

# The icon: a small window of the program's, embedded in trayer.
find_icon() {
  local w geometry
  for w in $(xdotool search --class quendax 2>/dev/null); do
    geometry=$(xwininfo -id "$w" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$geometry" || continue
    local width height x y
    width=$(awk '/^  Width:/{print $2}' <<<"$geometry")
    height=$(awk '/^  Height:/{print $2}' <<<"$geometry")
    x=$(awk '/Absolute upper-left X:/{print $4}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y:/{print $4}' <<<"$geometry")
    if [ "$width" -le 64 ] && [ "$height" -le 64 ]; then
      echo "$((x + width / 2)) $((y + height / 2))"
      return 0
    fi
  done
  return 1
}
wait_for 100 find_icon || fail "the icon did not appear in the notification area"
read -r ix iy < <(find_icon)
echo "icon at $ix,$iy"

double_click() { xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 60 1; }
main_hidden() { ! main_visible; }

double_click
wait_for 50 main_hidden || fail "a double-click on the icon did not hide the window"
sleep 0.5
main_hidden || fail "one double-click toggled the window twice"
double_click
wait_for 50 main_visible || fail "a second double-click did not show the window"

# A single click does nothing on this kind of notification area.
xdotool mousemove "$ix" "$iy" click 1
sleep 0.8
main_visible || fail "a single click hid the window"

# Right-click: the pop-up menu opens; its "&Exit" ends the program.
xdotool mousemove "$ix" "$iy" click 3
menu_open() { [ "$(xdotool search --onlyvisible --class quendax 2>/dev/null | wc -l)" -ge 3 ]; }
wait_for 50 menu_open || fail "a right-click did not open the pop-up menu"
xdotool key e
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "\"&Exit\" did not end the program"
wait "$app"; status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
find_icon >/dev/null && fail "the icon stayed in the notification area"
echo "passed: icon shown, double-click hides and shows, right-click menu exits"
