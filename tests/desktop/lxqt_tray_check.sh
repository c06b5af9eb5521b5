#!/usr/bin/env bash
# The notification-area icon in LXQt's panel (lxqt-panel, its "statusnotifier"
# and "tray" plugins) under openbox on a private X display, clicked with the
# real pointer (xdotool), with the panel started before the program and
# after it (as at log-in). Each time: the icon is in the panel, a right-click
# opens the program's menu by the icon (Hide or Show, Exit), "Hide" and
# "Show" hide and show the window, a double-click shows or hides it once, a
# single click does too, a ContextMenu call on the item (what a host that
# does not read the menu itself sends) opens the program's own menu as a
# popup, and "Exit" ends the program.
# The panel's statusnotifier plugin is the StatusNotifierWatcher itself: no
# watcher of our own is started. With a watcher there the program is always
# an item, so the tray plugin (there as in LXQt's default panel) never gets
# the icon; it draws no XEmbed icon under Xvfb anyway (nor yad's).
# Run by hand (it needs lxqt-panel, which CI doesn't install):
#   lxqt_tray_check.sh QUENDAX
# Prints "ok: ..." or "FAILED: ..." for each check; exit status 1 when one
# failed, 77 (skipped) when a tool is missing. QX_SHOTS=DIR keeps the
# screenshots of the menus there.
set -u
if [ -z "${QX_OWN_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "SKIPPED: dbus-run-session is not installed (package dbus)"; exit 77; }
    # The bus daemon's own messages (fd limit, monitors) go nowhere; the
    # script's errors go on to the terminal through descriptor 3.
    exec env QX_OWN_BUS=1 dbus-run-session -- bash "$0" "$@" 3>&2 2>/dev/null
fi
exec 2>&3 3>&-
quendax=$(realpath "${1:?usage: lxqt_tray_check.sh QUENDAX}")
. "$(dirname "${BASH_SOURCE[0]}")/xvfb_tray.sh"
tool=$(missing_tool Xvfb openbox lxqt-panel xdotool xwininfo xprop xev import convert python3 dbus-send dbus-monitor) \
    && { echo "SKIPPED: $tool is not installed"; exit 77; }

failures=0
ok() { echo "ok: $*"; }
failed() { echo "FAILED: $*"; failures=$((failures + 1)); }

panel_h=32
panel_bg='#203040'
# Only the two tray plugins, in a flat colour across the top of the screen.
# Nothing of the user's is read or written: the config, cache and data
# folders are in $work.
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data HOME=$work NO_AT_BRIDGE=1
mkdir -p "$XDG_CONFIG_HOME/lxqt"
cat >"$XDG_CONFIG_HOME/lxqt/panel.conf" <<EOF
panels=panel1

[panel1]
plugins=statusnotifier,tray
position=Top
alignment=-1
width=100
widthPercent=true
panelSize=$panel_h
iconSize=22
lineCount=1
background-color=$panel_bg
hidable=false
desktop=0

[statusnotifier]
type=statusnotifier

[tray]
type=tray
EOF

watcher() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}
host_up() { watcher IsStatusNotifierHostRegistered | grep -q "boolean true"; }
# The colour at X Y of the screen, as "#RRGGBB".
pixel() { import -window root -crop "1x1+$1+$2" +repage "$work/pixel.png" && convert "$work/pixel.png" -format '#%[hex:p{0,0}]' info:; }
panel_drawn() { [ "$(pixel 1270 $((panel_h / 2)))" = "$panel_bg" ]; }

start_panel() {
    lxqt-panel >>"$work/panel.log" 2>&1 &
    panel_pid=$! && track "$panel_pid"
    wait_for 150 host_up && wait_for 50 panel_drawn
}

stop_panel() {
    kill "$panel_pid" 2>/dev/null
    wait "$panel_pid" 2>/dev/null
    untrack "$panel_pid"
    wait_for 50 eval '! watcher ProtocolVersion'
}

start_quendax() {
    "$quendax" >"$work/quendax-$1.log" 2>&1 &
    app=$! && track "$app"
    wait_for 100 window_of Quendax
}

# The centre of whatever stands out of the panel's background ("X Y");
# status 1 when nothing does.
find_icon() {
    local box w h x y
    import -window root -crop "1280x$panel_h+0+0" +repage "$work/panel.png" || return 1
    box=$(convert "$work/panel.png" -fuzz 6% -fill black -opaque "$panel_bg" -fill white +opaque black -format '%@' info:) || return 1
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
    [ "$w" -gt 1 ] && [ "$w" -lt 200 ] || return 1
    echo "$((x + w / 2)) $((y + h / 2))"
}

click_icon() {
    local xy
    xy=$(find_icon) || return 1
    case $1 in
        right) click_at $xy 3 ;;
        double) click_at $xy 1 2 ;;
        *) click_at $xy 1 ;;
    esac
}

# "visible" (mapped, WM_STATE Normal), "hidden" (unmapped, Withdrawn or
# Iconic) or "absent"; anything else as it is.
window_state() {
    local win mapped wm
    win=$(window_of Quendax) || { echo absent; return; }
    mapped=$(xwininfo -id "$win" 2>/dev/null | sed -n 's/.*Map State: //p')
    wm=$(xprop -id "$win" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p')
    case "$mapped/${wm:-none}" in
        IsViewable/Normal) echo visible ;;
        IsUnMapped/Withdrawn | IsUnMapped/none | IsUnMapped/Iconic) echo hidden ;;
        *) echo "mapped=$mapped wm=${wm:-none}" ;;
    esac
}
settled() { sleep 0.7; window_state; }

# The open menu: "ID X Y W H", the first mapped window of a menu's type;
# status 1 when none is.
open_menu() {
    local id info
    for id in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        info=$(xwininfo -id "$id") && grep -q IsViewable <<<"$info" || continue
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -qE 'POPUP_MENU|DROPDOWN_MENU' || continue
        awk -v id="$id" '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
            /^ +Width/ { w = $NF } /^ +Height/ { h = $NF } END { print id, x, y, w, h }' <<<"$info"
        return 0
    done
    return 1
}

# The entries of the open menu are the bands of rows with dark (text)
# pixels; separators are light grey. Prints "X Y" of the Nth entry, or with
# N = 0 how many there are. The screenshot goes to QX_SHOTS as NAME.
menu_entry() {
    local m id x y w h
    m=$(open_menu) || return 1
    read -r id x y w h <<<"$m"
    import -window root "$work/menu.png" || return 1
    [ -n "${QX_SHOTS:-}" ] && [ -n "${2:-}" ] && cp "$work/menu.png" "$QX_SHOTS/$2.png"
    convert "$work/menu.png" -crop "$((w - 4))x$((h - 4))+$((x + 2))+$((y + 2))" +repage -depth 8 rgb:- |
        python3 -c '
import sys
n, x, y, w, h = map(int, sys.argv[1:])
data = sys.stdin.buffer.read()
text = [any(max(data[3 * (r * w + c):3 * (r * w + c) + 3]) < 0xa8 for c in range(w)) for r in range(h)]
bands, start, gap = [], None, 0
for r, t in enumerate(text + [False] * 4):
    if t:
        start, gap = (r if start is None else start), 0
    elif start is not None:
        gap += 1
        if gap > 3:  # letters have gaps of a row or two (the underline)
            bands.append((start, r - gap)); start = None
if n == 0: print(len(bands))
elif n <= len(bands): print(x + 2 + w // 2, y + 2 + sum(bands[n - 1]) // 2)
else: sys.exit(1)
' "$1" "$x" "$y" "$((w - 4))" "$((h - 4))"
}
choose_entry() { local xy; xy=$(menu_entry "$1" "${2:-}") && click_at $xy 1; }

# How often the window was mapped or unmapped while CMD ran; how many
# Activate calls the panel made meanwhile goes to $work/activates.
changes() {
    local win spy calls
    win=$(window_of Quendax) || { echo "?"; return; }
    xev -id "$win" -event structure >"$work/xev.log" 2>&1 &
    spy=$!
    dbus-monitor --session "interface=org.kde.StatusNotifierItem,member=Activate" >"$work/monitor.log" 2>&1 &
    calls=$!
    sleep 0.3; "$@"; sleep 0.7
    kill "$spy" "$calls"; wait "$spy" "$calls" 2>/dev/null
    grep -c 'member=Activate$' "$work/monitor.log" >"$work/activates"
    grep -cE '^(MapNotify|UnmapNotify)' "$work/xev.log"
}

# A host that does not read the menu over the bus asks the item to show it
# (ContextMenu at the pointer): the program's own menu, a popup by the icon.
context_menu() {
    local item xy main w info
    item=$(watcher RegisteredStatusNotifierItems | sed -n 's/.*string "\(.*\)".*/\1/p' | grep -- "-$app-" | head -n 1)
    xy=$(find_icon) && [ -n "$item" ] || { failed "$order: ContextMenu: no icon or no item"; return; }
    main=$(window_of Quendax)
    dbus-send --session --type=method_call --dest="${item%%/*}" "/${item#*/}" org.kde.StatusNotifierItem.ContextMenu \
        "int32:${xy% *}" "int32:${xy#* }"
    sleep 1
    for w in $(xdotool search --onlyvisible --class '^Quendax$' 2>/dev/null); do
        [ "$((w))" = "$((main))" ] && continue
        info=$(xwininfo -id "$w") || continue
        if grep -q 'Override Redirect State: yes' <<<"$info"; then
            ok "$order: ContextMenu opened the program's menu as a popup at $(sed -n 's/.*-geometry //p' <<<"$info")"
        else
            failed "$order: ContextMenu opened the menu as a window of its own ($(sed -n 's/.*-geometry //p' <<<"$info"))"
        fi
        click_at 1000 700 1; sleep 0.5
        wait_for 10 eval '! xwininfo -id "$w" | grep -q IsViewable' || failed "$order: a click away left that menu open"
        return
    done
    failed "$order: ContextMenu opened nothing"
}

expect() {  # WHAT WANTED GOT
    if [ "$2" = "$3" ]; then ok "$order: $1: $3"; else failed "$order: $1: wanted $2, got $3"; fi
}

checks() {
    local xy menu y n entries
    if xy=$(wait_for 100 find_icon && find_icon); then ok "$order: icon in the panel at $xy"
    else failed "$order: no icon in the panel"; return; fi
    watcher RegisteredStatusNotifierItems | grep -q "StatusNotifierItem-$app-" \
        && ok "$order: registered as a StatusNotifierItem" || failed "$order: not registered with the watcher"
    expect "window at the start" visible "$(window_state)"

    click_icon right && wait_for 30 open_menu
    if menu=$(open_menu); then
        ok "$order: right-click opened a menu (window $menu)"
        read -r _ _ y _ _ <<<"$menu"
        [ "$y" -le $((panel_h + 5)) ] && ok "$order: the menu is at the panel" || failed "$order: the menu is away from the panel (at y $y)"
        entries=$(menu_entry 0 "${order// /-}-menu-visible")
        expect "menu entries" 2 "$entries"
    else
        failed "$order: right-click opened no menu"
    fi
    choose_entry 1; expect "after Hide" hidden "$(settled)"
    click_icon right && wait_for 30 open_menu && choose_entry 1 "${order// /-}-menu-hidden"
    expect "after Show" visible "$(settled)"

    n=$(changes click_icon double)
    expect "map changes in a double-click ($(cat "$work/activates") Activate calls)" 1 "$n"
    expect "after the double-click" hidden "$(window_state)"
    n=$(changes click_icon double)
    expect "map changes in another double-click ($(cat "$work/activates") Activate calls)" 1 "$n"
    expect "after the second double-click" visible "$(window_state)"
    click_icon left; expect "after a click" hidden "$(settled)"
    click_icon left; expect "after another click" visible "$(settled)"

    context_menu
    click_icon right && wait_for 30 open_menu && choose_entry 2
    if wait_for 50 eval '! kill -0 $app'; then ok "$order: Exit ended the program"; untrack "$app"
    else failed "$order: Exit did not end the program"; fi
}

SECONDS=0
start_xvfb 20 99 1280x800x24 || { echo "FAILED: Xvfb did not start"; exit 1; }
openbox --sm-disable >>"$work/openbox.log" 2>&1 &
track $!
wait_for 100 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || { echo "FAILED: openbox did not start"; exit 1; }

order="panel first"
start_panel || { echo "FAILED: lxqt-panel did not start"; cat "$work/panel.log"; exit 1; }
start_quendax 1 || failed "$order: the program showed no window"
checks
stop_panel || failed "the panel did not end"

order="panel later"
start_quendax 2 || failed "$order: the program showed no window"
sleep 1
start_panel || { echo "FAILED: lxqt-panel did not start again"; exit 1; }
checks

echo "lxqt-panel $(dpkg-query -W -f '${Version}' lxqt-panel 2>/dev/null), openbox $(dpkg-query -W -f '${Version}' openbox 2>/dev/null):" \
    "$failures failure(s) in $SECONDS s"
if [ "$failures" -gt 0 ]; then
    for f in "$work"/quendax-*.log "$work/panel.log"; do echo "--- ${f##*/}"; cat "$f"; done
    exit 1
fi
