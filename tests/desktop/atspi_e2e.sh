#!/usr/bin/env bash
# What a screen reader gets (AT-SPI, on a private X display and session
# bus): each figure says what it is, row by row; each bar is a meter with the
# free share as its value; the graph is a named chart with the latest figures
# as its description; the status line is a status bar; all of them take
# the keyboard focus; the notification area's pop-up is no entry of the
# menu bar.
# Exit status 77 (skipped) with the reason when a tool is missing.
set -u
quendax=$1
here=$(cd "$(dirname "$0")" && pwd)
own_bus=1  # a session bus of its own, ended with the script
. "$here/xvfb_tray.sh"
if tool=$(missing_tool Xvfb xdotool /usr/bin/python3); then echo "SKIPPED: $tool is not installed"; exit 77; fi
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIPPED: python3-pyatspi is not installed"; exit 77; }
fail() { echo "FAILED: $*"; cat "$work/tree" "$work/quendax.err" 2>/dev/null; exit 1; }

start_xvfb 241 290 1024x768x24 || fail "Xvfb did not start"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$quendax" >/dev/null 2>"$work/quendax.err" &
track $!
sleep 1
/usr/bin/python3 "$here/atspi_tree.py" dump >"$work/tree" 2>&1 || fail "no tree"

figures=$(grep -E '\|label\|(Physical memory|Page file), ' "$work/tree" | cut -d'|' -f3 | sed 's/: .*//' | paste -sd/)
[ "$figures" = "Physical memory, total/Page file, total/Physical memory, used/Page file, used/Physical memory, free/Page file, free" ] \
  || fail "figures named or ordered wrongly: $figures"
bad=$(grep -E '\|label\|(Physical memory|Page file), ' "$work/tree" | grep -vE '\|label\|[A-Za-z ,]+: [0-9][0-9,. ]* MB\|' || true)
[ -z "$bad" ] || fail "a figure's name lacks its figure: $bad"
meters=$(grep -cE '\|progress bar\|(Physical memory|Page file), free share\|\|([0-9]|[1-9][0-9]|100)\|' "$work/tree")
[ "$meters" = 2 ] || fail "not two bars with a free share as their value"
grep -qE '\|chart\|Usage history\|Memory in use: [0-9]+ %, processor: [0-9]+ %\|' "$work/tree" || fail "the graph is not a described chart"
grep -q '|status bar|Status: Ready|' "$work/tree" || fail "the status line is no status bar"
grep -qE '^3\|menu item\|Menu\|' "$work/tree" && fail "the pop-up menu is an entry of the menu bar"
[ "$(grep -cE '\|(Physical memory|Page file|Usage history|Status).*\|focusable$' "$work/tree")" = 10 ] \
  || fail "the figures, bars, graph and status line can't all be reached with the keyboard"
echo "passed: figures named in reading order, bars with values, the graph described, the status line a status bar"
