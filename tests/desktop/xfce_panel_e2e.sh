#!/usr/bin/env bash
# End to end on X11 with a real panel: xfce4-panel's notification area under
# xfwm4, clicked with the real pointer, with the panel started before the
# program and after it (as at log-in). Each time: the icon is there, a
# right-click opens the panel's menu with the program's entries, "&Hide"
# and "&Show" from it hide and show the window, a double-click shows or
# hides it once, a single click too, and "&Exit" ends the program. Then the
# panel restarts while the window is hidden: the window comes back
# minimized, and once the panel is back the icon hides and shows it again.
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
. "$(dirname "$0")/xfce_panel.sh"
if tool=$(missing_tool Xvfb xfwm4 xfce4-panel xfconf-query xdotool xprop xwininfo import convert); then
  echo "SKIPPED: $tool is not installed (scripts/install-deps.sh)"
  exit 77
fi
fail() { echo "FAILED: $*"; cat "$work"/*.err "$work"/panel.log 2>/dev/null | tail -20; exit 1; }
state() { sleep 0.8; window_state "$win" | cut -d' ' -f1; }
# Does CMD to the icon and wants the window's map state to become WANT.
expect() {
  local want=$1; shift
  local icon; icon=$(find_icon) || fail "$step: no icon"
  "$@" $icon
  [ "$(state)" = "mapped=$want" ] || fail "$step: the window is $(window_state "$win"), not $want"
}
click() { click_at "$1" "$2" 1; }
double_click() { click_at "$1" "$2" 1 2; }
menu() { click_at "$1" "$2" 3 && sleep 0.8 && menu_pick "$3"; }
hide_entry() { menu "$1" "$2" h; }
show_entry() { menu "$1" "$2" s; }
start_program() {
  "$quendax" >/dev/null 2>"$work/quendax.err" &
  app=$!; track "$app"
  wait_for 100 window_of Quendax || fail "no window"
  win=$(window_of Quendax)
}
checks() {
  step="$1"; wait_for 100 find_icon || fail "$step: no icon in the panel"
  step="$1, Hide from the menu"; expect IsUnMapped hide_entry
  step="$1, Show from the menu"; expect IsViewable show_entry
  step="$1, a double-click"; expect IsUnMapped double_click
  step="$1, another double-click"; expect IsViewable double_click
  step="$1, a click"; expect IsUnMapped click
  step="$1, another click"; expect IsViewable click
}

start_xvfb 341 390 1024x768x24 || fail "Xvfb did not start"
start_xfwm4 || fail "xfwm4 did not start"
start_panel || fail "the panel did not start"
start_program
checks "panel first"
step="panel first, Exit"; menu $(find_icon) e
wait_for 50 eval '! kill -0 $app' || fail "Exit from the panel's menu did not end the program"
untrack "$app"

stop_panel
start_program
sleep 1
start_panel || fail "the panel did not start after the program"
checks "panel later"
# The panel restarts while the window is hidden in it.
step="hidden for the restart"; expect IsUnMapped click
stop_panel
[ "$(state)" = "mapped=IsUnMapped" ] && [ "$(xprop -id "$win" WM_STATE | grep -c Iconic)" = 1 ] \
  || fail "with the panel gone the window did not come back minimized: $(window_state "$win")"
start_panel || fail "the panel did not start again"
step="panel back, a click"; expect IsUnMapped click
step="panel back, another click"; expect IsViewable click
step="panel back, Hide"; expect IsUnMapped hide_entry
step="panel back, Show"; expect IsViewable show_entry
echo "passed: xfce4-panel before and after the program and restarted: menu, Hide, Show, double-click, click, Exit"
