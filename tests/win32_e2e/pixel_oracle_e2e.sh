#!/usr/bin/env bash
# What quendax.exe shows is what its model says, under Wine on Xvfb with a
# notification area (trayer) at DPI dots per inch: on fixed memory figures,
# a picture of the screen is held against the description the program
# keeps (tests/desktop/pixel_oracle.py) at start, after a freeing run that
# leaves more memory free (the darker markers shown), after resizing the
# window larger, smaller and larger again, with the About box open, and
# after minimizing it (it hides) and double-clicking the icon twice (it
# comes back at normal size).
# Everything started here is ended here. Exit status 77 (skipped) with the
# reason when a tool is missing.
#
#   pixel_oracle_e2e.sh WINE64 QUENDAX_EXE PROBE_EXE WORK_DIR DPI
set -u
wine=$1 quendax=$2 probe=$3 work=$4 dpi=$5
here=$(dirname "$0")
. "$here/wine_desktop.sh"
for tool in import python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (Debian packages imagemagick, python3)"; exit 77; }
done
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 ||
  fail "could not set $dpi dpi"

description=$work/window.txt
rm -f "$description"
"$wine" "$quendax" --fixed-figures 24000,23400,23505 --describe-window "Z:${description//\//\\}" \
  </dev/null >"$work/quendax.out" 2>&1 &
app=$!
wait_for 300 main_window || fail "the window \"Quendax\" did not appear"
twips=$(awk -v dpi="$dpi" 'BEGIN { printf "%f", 1440 / dpi }')
wait_for 50 grep -q " twips=$twips " "$description" || { cat "$description"; fail "the program does not run at $dpi dpi"; }

. "$here/../desktop/pixel_oracle_check.sh"
window_line() { grep '^window frmMain ' "$description"; }

check "$dpi dpi, at start" '^window frmMain shown=1'
press_key ctrl+f
check "$dpi dpi, after a freeing run" '^control picOldPhysical '
for size in "600 500" "380 360" "600 500"; do
  set -- $size
  before=$(window_line)
  # Wine refused another program's resize once on a busy machine, with no
  # trace of why: try again before failing, and say what the probe said.
  for try in 1 2 3; do
    said=$("$wine" "$probe" --resize $(( $1 * dpi / 96 )) $(( $2 * dpi / 96 )) </dev/null 2>&1) && break
    said="status $?: $said"
    [ "$try" = 3 ] && fail "the probe could not resize the window ($said)"
    echo "the probe could not resize the window ($said); trying again"
    sleep 1
  done
  changed() { [ "$(window_line)" != "$before" ]; }
  wait_for 50 changed || fail "resizing to $1x$2 changed nothing"
  check "$dpi dpi, resized to ${1}x${2} (at 96 dpi)" '^window frmMain shown=1'
done

# The About box (F1) over the window; Esc closes it.
press_key F1
check "$dpi dpi, with the About box open" '^window frmAbout shown=1'
about_window() { xdotool search --onlyvisible --name '^About Quendax$' 2>/dev/null | head -n 1 | grep .; }
xdotool windowfocus "$(about_window)" >/dev/null 2>&1
xdotool key Escape
about_closed() { ! grep -q '^window frmAbout' "$description"; }
wait_for 50 about_closed || fail "Esc did not close the About box"

# Minimized, the window hides; two double-clicks on the icon bring it back
# at normal size.
wait_for 100 find_icon || fail "the icon was not embedded in the notification area"
read -r ix iy < <(find_icon)
double_click() { xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 60 1; }
"$wine" "$probe" --minimize </dev/null >/dev/null 2>&1
hidden() { grep -q '^window frmMain shown=0 mapped=0' "$description"; }
wait_for 50 hidden || fail "minimizing did not hide the window"
double_click
sleep 1
double_click
check "$dpi dpi, minimized, then two double-clicks on the icon" '^window frmMain shown=1'

press_key ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { kill "$app"; fail "Ctrl+Q did not end the program"; }
echo "passed"
