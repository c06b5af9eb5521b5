#!/usr/bin/env bash
# What the window shows is what its model says: the real program on fixed
# memory figures, under Xvfb, at the toolkit's scale SCALE (1 or 2). A
# picture of the screen is held against the description the program keeps
# (pixel_oracle.py) at start, after a freeing run that leaves more memory
# free (the darker markers shown), after resizing the window larger,
# smaller and larger again, and with the About box open. Exit status 77 (skipped) when a tool is missing.
#
#   pixel_oracle_e2e.sh QUENDAX SCALE
set -u
quendax=$1 scale=$2
here=$(dirname "$0")
. "$here/xvfb_tray.sh"
if tool=$(missing_tool Xvfb xdotool import python3); then
  echo "SKIPPED: $tool is not installed (Debian packages xvfb, xdotool, imagemagick, python3)"
  exit 77
fi

fail() { echo "FAILED: $*"; [ -s "$work/quendax.err" ] && { echo "--- quendax stderr:"; cat "$work/quendax.err"; }; exit 1; }

start_xvfb 91 140 1280x1024x24 || fail "Xvfb did not start"
description=$work/window.txt
QT_SCALE_FACTOR=$scale "$quendax" --fixed-figures 24000,23400,23505 --describe-window "$description" \
  >"$work/quendax.out" 2>"$work/quendax.err" &
app=$!
track "$app"
main_window() { xdotool search --onlyvisible --name '^Quendax$' 2>/dev/null | head -n 1 | grep .; }
wait_for 150 main_window || fail "the main window did not appear"
wid=$(main_window)

. "$here/pixel_oracle_check.sh"

check "at start" '^window frmMain shown=1'
# Without a window manager the window takes the keyboard from a click on
# its status line (which does nothing there).
press_key() {  # key
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool windowfocus "$wid" 2>/dev/null
  xdotool mousemove $((X + 30 * scale)) $((Y + HEIGHT - 8 * scale)) click 1
  sleep 0.3
  xdotool key "$1"
}
press_key ctrl+f
check "after a freeing run" '^control picOldPhysical '
for size in "450 400" "300 280" "450 400"; do
  set -- $size
  w=$(( $1 * scale )) h=$(( $2 * scale ))
  xdotool windowsize "$wid" "$w" "$h"
  check "at ${1}x${2}" "^window frmMain .* width=$w "
done
press_key F1
check "with the About box open" '^window frmAbout shown=1'
echo "passed"
