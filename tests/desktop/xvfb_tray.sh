# A private X display (Xvfb) and, where wanted, a notification area on it
# (trayer), for the desktop tests and benchmarks that run the real program.
# Sourced by a sh or bash script; it gives that script:
#   work                      a fresh temporary folder, removed at the end
#   missing_tool TOOL...      prints the first TOOL not installed (status 0),
#                             status 1 when all are there
#   wait_for TENTHS CMD...    waits up to TENTHS tenths of a second for CMD
#                             to succeed (status 1 when it never did)
#   track PID... / untrack PID...
#                             ends PID at the end / no more (it has ended)
#   start_xvfb FIRST LAST SIZE
#                             Xvfb on the first free display from :FIRST to
#                             :LAST with a screen of SIZE (1280x800x24), made
#                             the DISPLAY; status 1 when it did not start
#   start_trayer              trayer at the top right of that display, its pid
#                             in trayer_pid; status 1 when it did not start
#   click_at X Y BUTTON [N]   the real pointer to X Y, BUTTON clicked N times
#                             80 ms apart (inside any double-click time)
#   window_of TITLE           the program's top-level window of that title
#   centre_of_others PNG BG [CROP]
#                             prints "X Y", the centre of the pixels of PNG
#                             (of its part CROP, WxH+X+Y) that are not of the
#                             colour BG (#RRGGBB); status 1 when none is
# Everything tracked is ended, newest first, when the script exits, and the
# script exits on an interrupt or a TERM as well.
# A script that sets own_bus=1 before sourcing this runs again, at once,
# inside a session bus of its own (dbus-run-session), ended with it.

if [ "${own_bus:-}" = 1 ] && [ -z "${QX_OWN_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "SKIPPED: dbus-run-session is not installed (package dbus)"; exit 77; }
    exec env QX_OWN_BUS=1 dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d)
xvfb_tray_pids=

missing_tool() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || { echo "$tool"; return 0; }
    done
    return 1
}

wait_for() {
    local tenths=$1; shift
    for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}

track() {
    local pid
    for pid in "$@"; do xvfb_tray_pids="$pid $xvfb_tray_pids"; done
}

untrack() {
    local gone kept pid
    for gone in "$@"; do
        kept=
        for pid in $xvfb_tray_pids; do [ "$pid" = "$gone" ] || kept="$kept $pid"; done
        xvfb_tray_pids=$kept
    done
}

xvfb_tray_cleanup() {
    for pid in $xvfb_tray_pids; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap xvfb_tray_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Whether the X server of DISPLAY answers (only that its socket is there
# where xdotool is missing).
xvfb_tray_display_up() {
    if command -v xdotool >/dev/null 2>&1; then
        xdotool getdisplaygeometry
    else
        [ -S "/tmp/.X11-unix/X${DISPLAY#:}" ]
    fi
}

start_xvfb() {
    local n pid
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        # -noreset: a server resetting as its first client (the check below)
        # leaves would refuse the next one for a moment.
        Xvfb ":$n" -screen 0 "$3" -nolisten tcp -noreset >>"$work/xvfb.log" 2>&1 &
        pid=$!
        track "$pid"
        DISPLAY=":$n"
        export DISPLAY
        unset WAYLAND_DISPLAY QT_QPA_PLATFORM || true
        # Another script may have taken the same display a moment before:
        # then this server ends, and the next display is tried.
        if wait_for 100 xvfb_tray_display_up && kill -0 "$pid" 2>/dev/null; then
            display=$DISPLAY
            return 0
        fi
        kill "$pid" 2>/dev/null || true
        untrack "$pid"
    done
    return 1
}

# The program must find this notification area, not one of the session it
# was started from: no session bus.
start_trayer() {
    local try
    unset DBUS_SESSION_BUS_ADDRESS || true
    # A machine busy with builds can take a while; a trayer that never shows
    # its window is started once more.
    for try in 1 2; do
        trayer --edge top --align right --widthtype pixel --width 160 --heighttype pixel --height 32 \
            --transparent false --tint 0x333333 >>"$work/trayer.log" 2>&1 &
        trayer_pid=$!
        track "$trayer_pid"
        wait_for 200 xdotool search --class trayer && return 0
        kill "$trayer_pid" 2>/dev/null || true
        untrack "$trayer_pid"
    done
    echo "trayer on $DISPLAY:" >&2
    cat "$work/trayer.log" >&2
    return 1
}

centre_of_others() {
    local box
    # The background turns black, the rest white; "%@" is the box of white.
    box=$(convert "$1" ${3:+-crop "$3" +repage} -fuzz 6% -fill black -opaque "$2" -fill white +opaque black \
        -format '%@' info:) || return 1
    set -- $(echo "$box" | tr 'x+' '  ')
    [ "${1:-0}" -gt 0 ] && [ "${2:-0}" -gt 0 ] || return 1
    echo "$(($3 + $1 / 2)) $(($4 + $2 / 2))"
}

# Qt's client leader has the title too, but no WM_CLASS.
window_of() {
    local w
    for w in $(xdotool search --name "^$1\$" 2>/dev/null); do
        xprop -id "$w" WM_CLASS 2>/dev/null | grep -q '= ' && echo "$w" && return 0
    done
    return 1
}

# No mousemove --sync: it waits for ever when the pointer is there already.
click_at() { xdotool mousemove "$1" "$2" && sleep 0.3 && xdotool click --repeat "${4:-1}" --delay 80 "$3"; }
