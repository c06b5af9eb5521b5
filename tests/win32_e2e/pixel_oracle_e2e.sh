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
oracle=$here/../desktop/pixel_oracle.py
wineserver=$(dirname "$wine")/wineserver
for tool in "$wine" "$wineserver"; do
  [ -x "$tool" ] || { echo "SKIPPED: $tool is missing (Debian package wine64)"; exit 77; }
done
for tool in Xvfb trayer xdotool xwininfo import python3; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "SKIPPED: $tool is not installed (Debian packages xvfb, trayer, xdotool, x11-utils, imagemagick)"; exit 77; }
done

mkdir -p "$work"
work=$(cd "$work" && pwd)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
cleanup() {
  "$wineserver" -k </dev/null >/dev/null 2>&1
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

fail() { echo "FAILED: $*"; exit 1; }
wait_for() {  # tenths command...
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

for n in $(seq 141 199); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }; done
Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp -noreset </dev/null >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=$display
unset WAYLAND_DISPLAY
wait_for 100 xdotool getdisplaygeometry || fail "Xvfb did not start"
trayer --edge top --align right --widthtype pixel --width 160 --heighttype pixel --height 32 \
  --transparent false --tint 0x333333 </dev/null >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 100 xdotool search --class trayer || fail "trayer did not start"

mkdir -p "$WINEPREFIX"
"$wine" wineboot --init </dev/null >"$work/wineboot.log" 2>&1
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1 ||
  fail "could not set $dpi dpi"

description=$work/window.txt
rm -f "$description"
"$wine" "$quendax" --fixed-figures 24000,23400,23505 --describe-window "Z:${description//\//\\}" \
  </dev/null >"$work/quendax.out" 2>&1 &
app=$!
main_window() { xdotool search --onlyvisible --name '^Quendax$' 2>/dev/null | head -n 1 | grep .; }
wait_for 300 main_window || fail "the window \"Quendax\" did not appear"
twips=$(awk -v dpi="$dpi" 'BEGIN { printf "%f", 1440 / dpi }')
wait_for 50 grep -q " twips=$twips " "$description" || { cat "$description"; fail "the program does not run at $dpi dpi"; }

# Takes pictures until one is taken while the description stays the same
# and contains PATTERN, then holds it against the description.
check() {  # what pattern
  local try verdict=
  for try in $(seq 30); do
    sleep 0.3
    cp "$description" "$work/before.txt" 2>/dev/null || continue
    grep -q "$2" "$work/before.txt" || continue
    import -window root -depth 8 "$work/screen.ppm" 2>/dev/null || continue
    cmp -s "$description" "$work/before.txt" || continue
    verdict=$(python3 "$oracle" "$work/before.txt" "$work/screen.ppm") && { echo "$dpi dpi, $1: $verdict"; return 0; }
  done
  echo "$verdict"
  fail "$dpi dpi, $1: the window does not show what its model says"
}
window_line() { grep '^window frmMain ' "$description"; }

# There is no window manager: the window gets the keyboard by a click on
# its status line (one click does nothing there) and the X input focus.
press_key() {  # key
  local wid
  wid=$(main_window)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool windowfocus "$wid" >/dev/null 2>&1
  xdotool mousemove $((X + 30)) $((Y + HEIGHT - 8)) click 1
  sleep 0.3
  xdotool key "$1"
}

check "at start" '^window frmMain shown=1'
press_key ctrl+f
check "after a freeing run" '^control picOldPhysical '
for size in "600 500" "380 360" "600 500"; do
  set -- $size
  before=$(window_line)
  "$wine" "$probe" --resize $(( $1 * dpi / 96 )) $(( $2 * dpi / 96 )) </dev/null >/dev/null 2>&1 ||
    fail "the probe could not resize the window"
  changed() { [ "$(window_line)" != "$before" ]; }
  wait_for 50 changed || fail "resizing to $1x$2 changed nothing"
  check "resized to ${1}x${2} (at 96 dpi)" '^window frmMain shown=1'
done

# The About box (F1) over the window; Esc closes it.
press_key F1
check "with the About box open" '^window frmAbout shown=1'
about_window() { xdotool search --onlyvisible --name '^About Quendax$' 2>/dev/null | head -n 1 | grep .; }
xdotool windowfocus "$(about_window)" >/dev/null 2>&1
xdotool key Escape
about_closed() { ! grep -q '^window frmAbout' "$description"; }
wait_for 50 about_closed || fail "Esc did not close the About box"

# Minimized, the window hides; two double-clicks on the icon bring it back
# at normal size.
find_icon() {
  local panel child geometry width height x y
  panel=$(xdotool search --name '^panel$' 2>/dev/null | head -n 1)
  [ -n "$panel" ] || return 1
  for child in $(xwininfo -children -id "$panel" 2>/dev/null | awk '/^     0x/{print $1}'); do
    geometry=$(xwininfo -id "$child" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$geometry" || continue
    width=$(awk '/^  Width:/{print $2}' <<<"$geometry")
    height=$(awk '/^  Height:/{print $2}' <<<"$geometry")
    x=$(awk '/Absolute upper-left X:/{print $4}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y:/{print $4}' <<<"$geometry")
    if [ "$width" -ge 8 ] && [ "$width" -le 64 ] && [ "$height" -ge 8 ] && [ "$height" -le 64 ]; then
      echo "$((x + width / 2)) $((y + height / 2))"
      return 0
    fi
  done
  return 1
}
wait_for 100 find_icon || fail "the icon was not embedded in the notification area"
read -r ix iy < <(find_icon)
double_click() { xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 60 1; }
"$wine" "$probe" --minimize </dev/null >/dev/null 2>&1
hidden() { grep -q '^window frmMain shown=0 mapped=0' "$description"; }
wait_for 50 hidden || fail "minimizing did not hide the window"
double_click
sleep 1
double_click
check "minimized, then two double-clicks on the icon" '^window frmMain shown=1'

press_key ctrl+q
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && { kill "$app"; fail "Ctrl+Q did not end the program"; }
echo "passed"
