# A headless sway with waybar's notification area and a real pointer, for
# the desktop tests that click the program's icon on Wayland. Sourced by a
# bash script running in the test user's session (sway refuses root; see
# waybar_e2e.sh). Beside the helpers of xvfb_tray.sh it gives:
#   start_sway [WxH]        sway on one headless output (1280x800) at 0,0
#   start_waybar / stop_waybar
#                           a bar at the top holding only the tray (which is
#                           the StatusNotifierWatcher too), once it is drawn
#   start_pointer           a virtual pointer (virtual_pointer.c, built here)
#   pointer LINE...         lines for it: pointer "move-abs 9 9" "click left"
#   tray_icon               prints "X Y" of what the bar shows that is not
#                           its background (find it before a menu opens)
#   click_icon [left|right|double]
#                           that click on the icon (the spot in clicked)
#   menu_entry N / menu_entries
#                           prints "X Y" of the Nth entry of the menu open at
#                           the icon, separators not counted / how many
#   choose_entry N          clicks that entry
#   window_state TITLE      "visible", "hidden" or "absent" (not mapped)

sway_waybar_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$sway_waybar_dir/xvfb_tray.sh"
bar_height=30
bar_colour=203040
# GTK and fontconfig want a home to write to; the test user has none.
[ -w "${HOME:-/nonexistent}" ] || export HOME=$work

start_sway() {
    local size=${1:-1280x800} pid socket
    screen_w=${size%x*}; screen_h=${size#*x}
    # No bar of sway's own, no X server, no borders: only what a test starts.
    cat >"$work/sway.conf" <<EOF
output HEADLESS-1 mode $size position 0 0 scale 1
xwayland disable
default_border none
focus_follows_mouse no
EOF
    ls "$XDG_RUNTIME_DIR" >"$work/before"
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
    pid=$!
    track "$pid"
    # Its sockets are the ones that were not there before it.
    SWAYSOCK=$XDG_RUNTIME_DIR/sway-ipc.$(id -u).$pid.sock
    wait_for 100 test -S "$SWAYSOCK" || return 1
    WAYLAND_DISPLAY=
    for socket in "$XDG_RUNTIME_DIR"/wayland-[0-9]*; do
        case $socket in *.lock) continue ;; esac
        grep -qxF "${socket##*/}" "$work/before" || { WAYLAND_DISPLAY=${socket##*/}; break; }
    done
    [ -n "$WAYLAND_DISPLAY" ] || return 1
    export WAYLAND_DISPLAY SWAYSOCK
    unset DISPLAY
    wait_for 50 swaymsg -t get_outputs
}

# The colour of the screen at X Y, as ImageMagick writes it (#RRGGBB).
pixel() { grim -g "$1,$2 1x1" - | convert - -format '%[hex:p{0,0}]' info:; }

start_waybar() {
    cat >"$work/waybar.json" <<EOF
{ "layer": "top", "position": "top", "height": $bar_height, "spacing": 0,
  "modules-left": [], "modules-center": [], "modules-right": ["tray"],
  "tray": { "icon-size": 22, "spacing": 6 } }
EOF
    # One flat colour behind everything, so that an icon is what differs; the
    # menus keep the theme's look.
    cat >"$work/waybar.css" <<EOF
window#waybar, window#waybar * { border: none; border-radius: 0; margin: 0; padding: 0; min-height: 0; }
window#waybar { background: #$bar_colour; }
#tray { padding: 0 6px; }
EOF
    waybar -c "$work/waybar.json" -s "$work/waybar.css" >>"$work/waybar.log" 2>&1 &
    waybar_pid=$!
    track "$waybar_pid"
    wait_for 100 bar_drawn
}
bar_drawn() { [ "$(pixel 0 0)" = "$bar_colour" ]; }

stop_waybar() {
    kill "$waybar_pid" 2>/dev/null
    wait "$waybar_pid" 2>/dev/null
    untrack "$waybar_pid"
    # Until the bar is gone from the screen.
    wait_for 50 eval '! bar_drawn'
}

# sway draws the pointer into the screen it gives grim: it is parked first.
tray_icon() {
    [ -n "${vp_PID:-}" ] && { park_pointer || return 1; }
    bar_drawn && grim -g "0,0 ${screen_w}x$bar_height" "$work/bar.png" && centre_of_others "$work/bar.png" "#$bar_colour"
}

start_pointer() {
    local xml=$sway_waybar_dir/wlr-virtual-pointer-unstable-v1.xml
    wayland-scanner client-header "$xml" "$work/vp.h" && wayland-scanner private-code "$xml" "$work/vp.c" \
        && cc -I"$work" -o "$work/virtual_pointer" "$sway_waybar_dir/virtual_pointer.c" "$work/vp.c" -lwayland-client \
        || return 1
    coproc vp { exec "$work/virtual_pointer" 2>>"$work/pointer.log"; }
    track "$vp_PID"
}

pointer() {
    local line reply
    for line in "$@"; do
        echo "$line" >&"${vp[1]}" && read -r -t 10 reply <&"${vp[0]}" && [ "$reply" = ok ] || return 1
    done
}

# Out of the way, clear of the bar and its menus: the arrow is drawn down
# and right of its tip, off the screen there.
park_pointer() { pointer "move-abs $((screen_w - 1)) $((screen_h - 1))"; }

click_icon() {
    local xy
    xy=$(tray_icon) || return 1
    clicked=$xy
    case ${1:-left} in
        double) pointer "move-abs $xy" "double-click left" ;;
        *) pointer "move-abs $xy" "click ${1:-left}" ;;
    esac
}

# waybar opens the menu at the pointer, below it and to its right, or to its
# left at the screen's right edge. The menu is the light box from there: its
# entries are the bands of rows with dark (text) pixels, separators are light.
menu_entry() {
    [ -n "${clicked:-}" ] && park_pointer && grim "$work/menu.png" || return 1
    convert "$work/menu.png" -depth 8 rgb:- | /usr/bin/python3 -c '
import sys
w, h, n, px, py = map(int, sys.argv[1:])
data = sys.stdin.buffer.read()
def rgb(x, y):
    i = 3 * (y * w + x)
    return data[i:i + 3]
light = lambda x, y: 0 <= x < w and 0 <= y < h and min(rgb(x, y)) >= 0xc0
dark = lambda x, y: max(rgb(x, y)) < 0xa8
sx, sy = (px - 3, py + 3) if light(px - 3, py + 3) else (px + 3, py + 3)
if not light(sx, sy):
    sys.exit("no menu at the pointer")
top, bottom, left, right = sy, sy, sx, sx
while light(sx, top - 1): top -= 1
while light(sx, bottom + 1): bottom += 1
while light(left - 1, top + 1): left -= 1
while light(right + 1, top + 1): right += 1
bands, start = [], None
for y in range(top, bottom + 2):
    text = y <= bottom and any(dark(x, y) for x in range(left, right + 1))
    if text and start is None: start = y
    if not text and start is not None and not any(any(dark(x, y2) for x in range(left, right + 1))
                                                  for y2 in range(y, min(y + 3, bottom + 1))):
        bands.append((start, y - 1)); start = None
if n == 0:
    print(len(bands))
elif n > len(bands):
    sys.exit("the menu has %d entries" % len(bands))
else:
    print((left + right) // 2, sum(bands[n - 1]) // 2)
' "$screen_w" "$screen_h" "$1" "${clicked% *}" "${clicked#* }"
}

menu_entries() { menu_entry 0; }

# Chooses the Nth entry (separators not counted) of the menu open at the icon.
choose_entry() { local xy; xy=$(menu_entry "$1") && pointer "move-abs $xy" "click left"; }

window_state() {
    swaymsg -t get_tree | jq -r --arg t "$1" '
        [.. | objects | select(.name? == $t and (.pid? != null))] |
        if length == 0 then "absent" elif any(.visible) then "visible" else "hidden" end'
}
