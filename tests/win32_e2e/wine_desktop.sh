# quendax.exe's desktop under Wine: a private X display (Xvfb) with a
# notification area (trayer), and a Wine prefix in WORK_DIR made ready with
# its server running. Sourced by a bash script after it has set `wine` (the
# wine64 loader) and `work` (a folder of its own); everything started here
# (Xvfb, trayer, the prefix's server) ends when that script exits. Exits 77
# (skipped) with the reason when a tool is missing. It gives that script:
#   fail MESSAGE            says FAILED and exits 1
#   wait_for TENTHS CMD...  waits up to TENTHS tenths of a second for CMD
#   main_window             the X window of the visible main window, if any
#   press_key KEY           gives the main window the keyboard, then KEY
#   find_icon               "X Y": the middle of the icon in the notification area
wineserver=$(dirname "$wine")/wineserver
for tool in "$wine" "$wineserver"; do
  [ -x "$tool" ] || { echo "SKIPPED: $tool is missing (Debian package wine64)"; exit 77; }
done
for tool in Xvfb trayer xdotool xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "SKIPPED: $tool is not installed (Debian packages xvfb, trayer, xdotool, x11-utils)"; exit 77; }
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

# The prefix is made the first time (some seconds); its server and
# background programs start now, with their output going nowhere.
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init </dev/null >"$work/wineboot.log" 2>&1

main_window() { xdotool search --onlyvisible --name '^Quendax$' 2>/dev/null | head -n 1 | grep .; }

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

# The icon: a small window embedded in trayer's panel.
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
