#!/usr/bin/env bash
# quendax.exe end to end under Wine on a private X display with a
# notification area (Xvfb, trayer, xdotool): --version on the standard
# output; the window "Quendax" appears and its icon is embedded in the
# notification area; a probe program reads the window's controls through
# the Windows API and finds the six figures in MB; the About box shows the
# version from the version record; a double-click on the icon hides and
# shows the window, and two bring back a window hidden by minimizing it;
# the icon's right-click menu "&Exit" ends the process and removes the icon;
# "quendax.exe /QUIT" ends by itself with status 0; on
# fixed memory figures, a freeing run that leaves more memory free shows the
# darker green markers in both bars, and hides them five seconds later.
# Everything started here (Xvfb, trayer, the Wine prefix's server) is ended
# here. Exit status 77 (skipped) with the reason when a tool is missing.
#
#   quendax_e2e.sh WINE64 QUENDAX_EXE PROBE_EXE WORK_DIR
set -u
wine=$1 quendax=$2 probe=$3 work=$4
. "$(dirname "$0")/wine_desktop.sh"

version=$("$wine" "$quendax" --version </dev/null 2>/dev/null | tr -d '\r')
[ "$version" = "quendax 3.1.0.3" ] || fail "--version printed \"$version\""
echo "--version: $version"

"$wine" "$quendax" </dev/null >"$work/quendax.out" 2>&1 &
app=$!
main_visible() { main_window >/dev/null; }
wait_for 300 main_visible || fail "the window \"Quendax\" did not appear"

wait_for 100 find_icon || fail "the icon was not embedded in the notification area"
read -r ix iy < <(find_icon)
echo "icon at $ix,$iy"

"$wine" "$probe" </dev/null >"$work/probe.out" 2>/dev/null
probe_status=$?
tr -d '\r' <"$work/probe.out" | grep -E 'MB\||figures'
[ "$probe_status" = 0 ] || { cat "$work/probe.out"; fail "the probe did not find six figures in MB (status $probe_status)"; }

# The About box (F1) shows the version from the version record.
about_open() { xdotool search --onlyvisible --name '^About Quendax$'; }
press_f1() { press_key F1; }
opened=no
for _ in 1 2 3; do
  press_f1
  if wait_for 30 about_open; then opened=yes; break; fi
done
[ "$opened" = yes ] || fail "F1 did not open the About box"
"$wine" "$probe" "About Quendax" </dev/null 2>/dev/null | tr -d '\r' >"$work/about.out"
grep -q '|v3\.1|' "$work/about.out" || { cat "$work/about.out"; fail "the About box does not show v3.1"; }
echo "About box: v3.1"
xdotool windowfocus "$(about_open | head -n 1)" >/dev/null 2>&1
xdotool key Escape
about_closed() { ! about_open; }
wait_for 50 about_closed || fail "Esc did not close the About box"

double_click() { xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 60 1; }
main_hidden() { ! main_visible; }
double_click
wait_for 50 main_hidden || fail "a double-click on the icon did not hide the window"
sleep 0.5
main_hidden || fail "one double-click toggled the window twice"
double_click
wait_for 50 main_visible || fail "a second double-click did not show the window"
echo "double-click hides and shows the window"
# Minimized, the window hides; the first double-click leaves it hidden, the
# second brings it back at normal size.
"$wine" "$probe" --minimize </dev/null >/dev/null 2>&1
wait_for 50 main_hidden || fail "minimizing did not hide the window"
double_click
sleep 1
double_click
main_normal() { "$wine" "$probe" --state </dev/null 2>/dev/null | tr -d '\r' | grep -q '^visible normal$'; }
wait_for 50 main_normal || fail "two double-clicks did not bring the minimized window back at normal size"
echo "a minimized window comes back after two double-clicks"

# Right-click: the pop-up menu opens; its "&Exit" ends the program.
menus_before=$(xdotool search --onlyvisible --class quendax.exe 2>/dev/null | wc -l)
xdotool mousemove "$ix" "$iy" click 3
menu_open() { [ "$(xdotool search --onlyvisible --class quendax.exe 2>/dev/null | wc -l)" -gt "$menus_before" ]; }
wait_for 50 menu_open || fail "a right-click on the icon did not open the pop-up menu"
xdotool key e
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "\"&Exit\" did not end the program"
wait "$app"; status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
gone() { ! find_icon; }
wait_for 30 gone || fail "the icon stayed in the notification area"
echo "the pop-up menu's \"&Exit\" ends the program and removes the icon"

# /QUIT frees memory once and ends by itself.
timeout 120 "$wine" "$quendax" /QUIT </dev/null >"$work/quit.out" 2>&1
status=$?
[ "$status" = 0 ] || fail "quendax.exe /QUIT ended with status $status"
echo "/QUIT ends by itself with status 0"

# /? shows the usage in a message box and opens no window; OK ends it.
"$wine" "$quendax" '/?' </dev/null >"$work/usage.out" 2>&1 &
usage=$!
"$wine" "$probe" Quendax '#32770' </dev/null 2>/dev/null | tr -d '\r' >"$work/usage-box.out"
grep -q 'Usage: quendax \[/AUTO | /QUIT\]' "$work/usage-box.out" || { cat "$work/usage-box.out"; fail "/? shows no usage box"; }
"$wine" "$probe" </dev/null >/dev/null 2>&1 && fail "/? opened the main window"
box=$(xdotool search --onlyvisible --name '^Quendax$' | head -n 1)
xdotool windowfocus "$box" >/dev/null 2>&1
xdotool key Return
for _ in $(seq 100); do kill -0 "$usage" 2>/dev/null || break; sleep 0.1; done
kill -0 "$usage" 2>/dev/null && { kill "$usage"; fail "the usage box did not close on Enter"; }
wait "$usage"; status=$?
[ "$status" = 0 ] || fail "quendax.exe /? ended with status $status"
echo "/? shows the usage in a message box"

# The markers, on fixed figures: 23,400 of 24,000 MB free before the run,
# 23,505 after it, for physical memory and page file alike.
"$wine" "$quendax" --fixed-figures 24000,23400,23505 </dev/null >"$work/markers.out" 2>&1 &
app=$!
wait_for 300 main_visible || fail "the window did not appear with --fixed-figures"
markers() { "$wine" "$probe" --markers </dev/null 2>/dev/null | tr -d '\r' | grep '^markers:'; }
markers_shown() { markers | grep -Eq '^markers: [1-9][0-9]* [1-9][0-9]*$'; }
markers_hidden() { markers | grep -q '^markers: 0 0$'; }
markers_hidden || { markers; fail "markers shown before any freeing run"; }
press_key ctrl+f
wait_for 50 markers_shown || { markers; fail "no marker in the bars after the freeing run"; }
echo "after the run: $(markers)"
wait_for 100 markers_hidden || { markers; fail "the markers stayed"; }
echo "and five seconds later: $(markers)"
press_key ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { kill "$app"; fail "Ctrl+Q did not end the program"; }
echo "passed"
