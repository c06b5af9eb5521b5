#!/usr/bin/env bash
# End to end on Wayland with a real panel: waybar's notification area under
# a headless sway, clicked with a real (virtual) pointer, with waybar
# started before the program and after it (as at log-in). Each time: the
# icon is there, a right-click opens waybar's menu with the program's two
# entries, "&Hide" and "&Show" from it hide and show the window, a
# double-click shows or hides it once, a single click too, and "&Exit" from
# the menu ends the program. sway refuses root: everything runs as a user
# the test creates.
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in sway waybar grim jq convert wayland-scanner cc dbus-run-session; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"; exit 77; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || { echo "SKIPPED: qt6-wayland is not installed"; exit 77; }
. "$here/test_user.sh"
out=$(mktemp -d); chmod 777 "$out"
cp "$quendax" "$out/quendax"; chmod a+rx "$out/quendax"
trap 'rm -rf "$run" "$out"' EXIT

cat >"$out/session.sh" <<'INNER'
set -u
out=$1
. "$2/sway_waybar.sh"
say() { echo "$*"; }
# The window's state once it has settled: visible, hidden or absent.
settled() { sleep 0.7; window_state Quendax; }
# How often the window was mapped or unmapped during CMD: a double-click
# that toggles twice on the way ends where it was, or three times, toggled.
changes() {
  swaymsg -m -t subscribe '["window"]' >"$out/events" 2>/dev/null &
  local events=$!
  sleep 0.3; "$@"; settled >/dev/null; kill "$events"
  jq -r 'select(.change == "new" or .change == "close") | .change' "$out/events" | wc -l
}
checks() {
  wait_for 100 tray_icon || { say "$1: no icon"; return; }
  click_icon right && sleep 0.7
  say "$1: menu entries $(menu_entries)"
  choose_entry 1; say "$1: after Hide $(settled)"
  click_icon right && sleep 0.7 && choose_entry 1; say "$1: after Show $(settled)"
  say "$1: a double-click changed it $(changes click_icon double) time(s), now $(window_state Quendax)"
  say "$1: another $(changes click_icon double) time(s), now $(window_state Quendax)"
  click_icon left; say "$1: after a click $(settled)"
  click_icon left; say "$1: after another click $(settled)"
  click_icon right && sleep 0.7 && choose_entry 2
  wait_for 50 eval '! kill -0 $app' && say "$1: Exit ended the program" || say "$1: Exit did not end it"
}
start_sway 1280x800 && start_pointer || { say "sway did not start"; exit 1; }
start_waybar || { say "waybar did not start"; exit 1; }
"$out/quendax" >/dev/null 2>"$out/first.err" &
app=$!; track "$app"
checks "panel first"
stop_waybar
"$out/quendax" >/dev/null 2>"$out/second.err" &
app=$!; track "$app"
sleep 2
start_waybar || { say "waybar did not start again"; exit 1; }
checks "panel later"
INNER
as_user env XDG_RUNTIME_DIR="$run" dbus-run-session -- bash "$out/session.sh" "$out" "$here" >"$out/session.log" 2>&1
log=$(cat "$out/session.log")
for order in "panel first" "panel later"; do
  for want in "menu entries 2" "after Hide absent" "after Show visible" "a double-click changed it 1 time(s), now absent" \
              "another 1 time(s), now visible" "after a click absent" "after another click visible" "Exit ended the program"; do
    grep -qF "$order: $want" <<<"$log" || { echo "FAILED: $order: wanted \"$want\""; echo "$log"; cat "$out"/*.err; exit 1; }
  done
done
echo "passed: waybar before and after the program: menu, Hide, Show, double-click, click and Exit"
