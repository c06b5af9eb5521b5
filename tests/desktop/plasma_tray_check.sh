#!/usr/bin/env bash
# The notification-area icon in KDE Plasma 5.27 on Wayland, headless: KWin's
# virtual output (drawn by llvmpipe), kded5's StatusNotifierWatcher and a
# plasmashell whose only panel holds the system tray, with the shell started
# before the program and after it (as at log-in). Each time: the icon is in
# the panel, a right-click opens the program's menu (Hide or Show, Exit),
# "Hide" and "Show" hide and show the window, a double-click shows or hides
# it once, a single click does too, a ContextMenu call on the item (what a
# host that does not read the menu itself sends) opens no window of its own
# (Wayland can't place it by the icon), and "Exit" ends the program.
# Too heavy for CI (a full shell on a software renderer): run it by hand, as
# root, with the Debian packages kwin-wayland, kded5, plasma-workspace,
# plasma-desktop, plasma-wayland-protocols, qtwayland5 and qt6-wayland:
#   plasma_tray_check.sh QUENDAX
# KWin refuses root: everything runs as a user made here (quendax-test).
# - The pointer is KWin's fake input (org_kde_kwin_fake_input), from a small
#   client built here; KWin lets any client use it with
#   KWIN_WAYLAND_NO_PERMISSION_CHECKS=1.
# - Screenshots come from KWin's org.kde.kwin.Screenshot D-Bus interface
#   (screenshotArea writes a PNG), allowed with
#   KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1.
# - Windows coming and going are logged by a KWin script (workspace
#   clientAdded/clientRemoved): a hidden window is gone from KWin on Wayland.
# Prints "ok: ..." or "FAILED: ..." for each check; exit status 1 when one
# failed, 77 (skipped) when a tool is missing. QX_SHOTS=DIR keeps the
# screenshots of the menus there.
set -u
quendax=$(realpath "${1:?usage: plasma_tray_check.sh QUENDAX}")
for tool in kwin_wayland kded5 plasmashell wayland-scanner cc dbus-run-session dbus-send dbus-monitor convert python3 runuser; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
for need in /usr/share/plasma-wayland-protocols/fake-input.xml:plasma-wayland-protocols \
    /usr/share/plasma/shells/org.kde.plasma.desktop:plasma-desktop \
    /usr/share/plasma/plasmoids/org.kde.plasma.systemtray:plasma-workspace \
    /usr/lib/x86_64-linux-gnu/qt5/plugins/platforms/libqwayland-generic.so:qtwayland5 \
    /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so:qt6-wayland; do
    [ -e "${need%:*}" ] || { echo "SKIPPED: ${need#*:} is not installed"; exit 77; }
done
[ "$(id -u)" = 0 ] || { echo "SKIPPED: run it as root (it makes a user for the session)"; exit 77; }
user=quendax-test
id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" \
    || { echo "FAILED: could not create the user $user"; exit 1; }

run=$(mktemp -d) && chmod 700 "$run" && chown "$user" "$run"
out=$(mktemp -d) && chmod 755 "$out" && chown "$user" "$out"
trap 'rm -rf "$run" "$out"' EXIT
# The installed kwin_wayland has a file capability (CAP_SYS_RESOURCE) that
# makes it refuse to start here; a copy has none.
cp /usr/bin/kwin_wayland "$out/" && cp "$quendax" "$out/quendax"

# The pointer: "move X Y", "click left|right", "double-click left" on the
# standard input, "ok" for each once KWin has had it.
cat >"$out/fake_pointer.c" <<'EOF'
#define _POSIX_C_SOURCE 200809L
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>
#include "fake-input.h"

static struct org_kde_kwin_fake_input *fake;
static void global(void *d, struct wl_registry *r, uint32_t name, const char *iface, uint32_t version) {
    if (!strcmp(iface, org_kde_kwin_fake_input_interface.name))
        fake = wl_registry_bind(r, name, &org_kde_kwin_fake_input_interface, version < 4 ? version : 4);
}
static void global_remove(void *d, struct wl_registry *r, uint32_t name) {}
static const struct wl_registry_listener listener = { global, global_remove };
static void pause_ms(long ms) { struct timespec t = { ms / 1000, (ms % 1000) * 1000000 }; nanosleep(&t, NULL); }

int main(void) {
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) return fprintf(stderr, "fake_pointer: no Wayland display\n"), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!fake) return fprintf(stderr, "fake_pointer: no org_kde_kwin_fake_input\n"), 1;
    org_kde_kwin_fake_input_authenticate(fake, "quendax tests", "clicks the notification-area icon");
    char line[256], cmd[32], arg[32];
    while (fgets(line, sizeof line, stdin)) {
        int y = 0, n = sscanf(line, "%31s %31s %d", cmd, arg, &y);
        int button = n > 1 && !strcmp(arg, "right") ? BTN_RIGHT : BTN_LEFT;
        if (n == 3 && !strcmp(cmd, "move")) {
            org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(atoi(arg)), wl_fixed_from_int(y));
        } else if (n == 2 && (!strcmp(cmd, "click") || !strcmp(cmd, "double-click"))) {
            /* Clicks 80 ms apart: well inside the double-click time of 400 ms. */
            for (int i = cmd[0] == 'd' ? 2 : 1; i > 0; i--) {
                org_kde_kwin_fake_input_button(fake, button, WL_POINTER_BUTTON_STATE_PRESSED);
                wl_display_flush(display); pause_ms(20);
                org_kde_kwin_fake_input_button(fake, button, WL_POINTER_BUTTON_STATE_RELEASED);
                wl_display_flush(display); if (i > 1) pause_ms(80);
            }
        } else {
            fprintf(stderr, "fake_pointer: not understood: %s", line);
            return 1;
        }
        if (wl_display_roundtrip(display) < 0) return 1;
        printf("ok\n"); fflush(stdout);
    }
    wl_display_disconnect(display);
    return 0;
}
EOF
xml=/usr/share/plasma-wayland-protocols/fake-input.xml
wayland-scanner client-header "$xml" "$out/fake-input.h" && wayland-scanner private-code "$xml" "$out/fake-input.c" \
    && cc -I"$out" -o "$out/fake_pointer" "$out/fake_pointer.c" "$out/fake-input.c" -lwayland-client \
    || { echo "FAILED: could not build the fake pointer"; exit 1; }
chmod -R a+rX "$out"

cat >"$out/session.sh" <<'INNER'
set -u
out=$1
SECONDS=0
failures=0
ok() { echo "ok: $*"; }
failed() { echo "FAILED: $*"; failures=$((failures + 1)); }
pids=
track() { pids="$1 $pids"; }
# Everything started here, and whatever the bus started for it (kglobalaccel,
# kactivitymanagerd...), newest first: one at a time, by its pid.
cleanup() {
    local name pid
    for name in $(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
                  org.freedesktop.DBus.ListNames 2>/dev/null | sed -n 's/.*string ":\(.*\)"/:\1/p'); do
        pid=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
              org.freedesktop.DBus.GetConnectionUnixProcessID "string:$name" 2>/dev/null | awk '/uint32/ { print $2 }')
        [ -n "$pid" ] && [ "$pid" != $$ ] && case " $pids " in *" $pid "*) ;; *) pids="$pids $pid" ;; esac
    done
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    sleep 1
    for pid in $pids; do kill -KILL "$pid" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT
wait_for() {
    local tenths=$1; shift
    for _ in $(seq "$tenths"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
bus() { dbus-send --session --print-reply "$@"; }

# Nothing of a home folder: configuration, data, cache and KWin's
# screenshots in $out.
export HOME=$out/home XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data XDG_CACHE_HOME=$out/cache TMPDIR=$out/tmp
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$TMPDIR"

# One activity of a known id, and a shell of a black desktop and one panel at
# the top with the system tray alone: no clock, none of the tray's own
# entries (they are all "known", none "extra").
activity=4b1e1d2c-0000-4000-8000-000000000001
cat >"$XDG_CONFIG_HOME/kactivitymanagerdrc" <<EOF
[activities]
$activity=Default

[main]
currentActivity=$activity
EOF
cat >"$XDG_CONFIG_HOME/plasma-org.kde.plasma.desktop-appletsrc" <<EOF
[Containments][1]
activityId=$activity
formfactor=0
immutability=1
lastScreen=0
location=0
plugin=org.kde.desktopcontainment
wallpaperplugin=org.kde.color

[Containments][1][Wallpaper][org.kde.color][General]
Color=0,0,0

[Containments][2]
activityId=
formfactor=2
immutability=1
lastScreen=0
location=3
plugin=org.kde.panel
wallpaperplugin=org.kde.image

[Containments][2][Applets][3]
immutability=1
plugin=org.kde.plasma.systemtray

[Containments][2][Applets][3][Configuration]
SystrayContainmentId=4

[Containments][2][General]
AppletOrder=3

[Containments][4]
activityId=
formfactor=2
immutability=1
lastScreen=0
location=3
plugin=org.kde.plasma.private.systemtray
wallpaperplugin=org.kde.image

[Containments][4][General]
extraItems=
knownItems=org.kde.plasma.battery,org.kde.plasma.keyboardlayout,org.kde.plasma.manage-inputmethod,org.kde.plasma.mediacontroller,org.kde.plasma.devicenotifier,org.kde.plasma.clipboard,org.kde.plasma.notifications,touchpad
EOF
cat >"$XDG_CONFIG_HOME/plasmashellrc" <<EOF
[PlasmaViews][Panel 2][Defaults]
thickness=32
EOF
panel_h=32

# KWin on a virtual output; its own checks of who may use the fake input
# and the screenshots are off.
export KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 QT_LOGGING_RULES='kwin_scripting=true'
"$out/kwin_wayland" --virtual --width 1280 --height 800 --socket quendax-wl --no-lockscreen --no-global-shortcuts \
    >"$out/kwin.log" 2>&1 &
track $!
unset QT_LOGGING_RULES KWIN_WAYLAND_NO_PERMISSION_CHECKS KWIN_SCREENSHOT_NO_PERMISSION_CHECKS
wait_for 100 test -S "$XDG_RUNTIME_DIR/quendax-wl" && wait_for 100 bus --dest=org.kde.KWin /KWin org.kde.KWin.currentDesktop \
    || { echo "FAILED: KWin did not start"; cat "$out/kwin.log"; exit 1; }
export WAYLAND_DISPLAY=quendax-wl QT_QPA_PLATFORM=wayland
# What the bus starts must find the same.
for name in HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME TMPDIR WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_RUNTIME_DIR; do
    bus --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.UpdateActivationEnvironment \
        "dict:string:string:$name,${!name}" >/dev/null
done

# Windows coming and going, in KWin's log: "qx-window added|removed|minimized
# [CAPTION] CLASS X Y W H popup|normal|other" (popups such as menus too).
cat >"$out/windows.js" <<'EOF'
function tell(what, c) {
    var g = c.frameGeometry;
    var kind = c.popupWindow ? "popup" : c.normalWindow ? "normal" : "other";
    print("qx-window " + what + " [" + c.caption + "] " + c.resourceClass + " " + g.x + " " + g.y + " " + g.width + " " + g.height + " " + kind);
}
function watch(c) { c.clientMinimizedChanged.connect(function () { tell(c.minimized ? "minimized" : "unminimized", c); }); }
workspace.clientList().forEach(function (c) { tell("present", c); watch(c); });
workspace.clientAdded.connect(function (c) { tell("added", c); watch(c); });
workspace.clientRemoved.connect(function (c) { tell("removed", c); });
EOF
bus --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.loadScript "string:$out/windows.js" string:quendax-windows >/dev/null
bus --dest=org.kde.KWin /Scripting org.kde.kwin.Scripting.start >/dev/null
windows() { grep -o 'qx-window .*' "$out/kwin.log"; }
# The program's window: "visible", "minimized" or "absent" (hidden: KWin
# has no window for it).
window_state() {
    windows | awk '$3 == "[Quendax]" && $4 ~ /quendax/ { s = $2 } END {
        print (s == "added" || s == "present" || s == "unminimized") ? "visible" : s == "minimized" ? "minimized" : "absent" }'
}
settled() { sleep 0.7; window_state; }
# How often the window came or went while CMD ran; how many Activate calls
# the shell made meanwhile goes to $out/activates.
changes() {
    local before calls
    before=$(windows | grep -c '^qx-window \(added\|removed\) \[Quendax\]')
    dbus-monitor --session "interface=org.kde.StatusNotifierItem,member=Activate" >"$out/monitor.log" 2>&1 &
    calls=$!
    sleep 0.3; "$@"; sleep 0.7
    kill "$calls"; wait "$calls" 2>/dev/null
    grep -c 'member=Activate$' "$out/monitor.log" >"$out/activates"
    echo $(($(windows | grep -c '^qx-window \(added\|removed\) \[Quendax\]') - before))
}

# kded5, and its StatusNotifierWatcher module.
kded5 >"$out/kded.log" 2>&1 &
track $!
watcher() {
    bus --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierWatcher "string:$1"
}
# Asked before it is on the bus, the bus would start another one.
has_owner() { bus --dest=org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q "boolean true"; }
wait_for 100 has_owner org.kde.kded5 && bus --dest=org.kde.kded5 /kded org.kde.kded5.loadModule string:statusnotifierwatcher >/dev/null \
    && wait_for 50 watcher ProtocolVersion \
    || { echo "FAILED: no StatusNotifierWatcher from kded5"; cat "$out/kded.log"; exit 1; }
ok "kded5's StatusNotifierWatcher is on the bus"
# kded5's watcher says IsStatusNotifierHostRegistered true whether a host is
# there or not: the shell's host is looked for by its name.
host_up() { has_owner "org.kde.StatusNotifierHost-$shell_pid"; }

# A screenshot of X Y W H to FILE (PNG), from KWin, without the pointer.
shot() {
    local file
    file=$(bus --dest=org.kde.KWin /Screenshot org.kde.kwin.Screenshot.screenshotArea "int32:$1" "int32:$2" "int32:$3" "int32:$4" \
           boolean:false | sed -n 's/.*string "\(.*\)"/\1/p') && [ -s "$file" ] && mv "$file" "$5"
}
# The centre of the icon: its bright green bars, in the panel.
find_icon() {
    shot 0 0 1280 "$panel_h" "$out/panel.png" || return 1
    convert "$out/panel.png" -depth 8 rgb:- | python3 -c '
import sys
w, h = 1280, int(sys.argv[1])
d = sys.stdin.buffer.read()
xs, ys = [], []
for y in range(h):
    for x in range(w):
        r, g, b = d[3 * (y * w + x):3 * (y * w + x) + 3]
        if g > 150 and r < 100 and b < 100: xs.append(x); ys.append(y)
if not xs: sys.exit(1)
print((min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2)' "$panel_h"
}
panel_drawn() {
    shot 0 0 1280 "$panel_h" "$out/panel.png" || return 1
    # The desktop is black: a panel is not.
    [ "$(convert "$out/panel.png" -crop 1x1+640+$((panel_h / 2)) -format '%[hex:p{0,0}]' info:)" != 000000 ]
}

start_shell() {
    shell_start=$SECONDS
    plasmashell --no-respawn >>"$out/plasmashell.log" 2>&1 &
    shell_pid=$! && track "$shell_pid"
    wait_for 600 host_up && wait_for 300 panel_drawn
}
stop_shell() {
    kill "$shell_pid" 2>/dev/null
    wait "$shell_pid" 2>/dev/null
    wait_for 100 eval '! host_up'
}

coproc pointer { exec "$out/fake_pointer" 2>>"$out/pointer.log"; }
track "$pointer_PID"
point() {
    local line reply
    for line in "$@"; do
        echo "$line" >&"${pointer[1]}" && read -r -t 10 reply <&"${pointer[0]}" && [ "$reply" = ok ] || return 1
    done
}
# Out of the way: the bottom right corner.
park() { point "move 1279 799"; }
click_icon() {
    local xy
    park && sleep 0.2 && xy=$(find_icon) || return 1
    case $1 in
        right) point "move $xy" "click right" ;;
        double) point "move $xy" "double-click left" ;;
        *) point "move $xy" "click left" ;;
    esac
}

# The open menu: "X Y W H" of the newest popup window that is still there
# (no caption); status 1 when there is none.
open_menu() {
    windows | awk '$3 == "[]" { key = $4 " " $5 " " $6 " " $7 " " $8
        if ($2 == "added") open[key] = 1; else if ($2 == "removed") delete open[key]; last = key }
        END { if (last in open) { split(last, f, " "); print f[2], f[3], f[4], f[5]; } else exit 1 }'
}
# The entries of the open menu are the bands of rows with dark (text)
# pixels; separators are light. Prints "X Y" of the Nth entry, or with N = 0
# how many there are. The screenshot goes to QX_SHOTS as NAME.
menu_entry() {
    local x y w h
    read -r x y w h <<<"$(open_menu)" && [ -n "$h" ] || return 1
    shot 0 0 1280 800 "$out/menu.png" || return 1
    [ -n "${QX_SHOTS:-}" ] && [ -n "${2:-}" ] && cp "$out/menu.png" "$QX_SHOTS/$2.png"
    # The frame has the shadow in it: a margin is left out.
    convert "$out/menu.png" -crop "$((w - 20))x$((h - 8))+$((x + 10))+$((y + 4))" +repage -depth 8 rgb:- | python3 -c '
import sys
n, x, y, w, h = map(int, sys.argv[1:])
data = sys.stdin.buffer.read()
text = [any(max(data[3 * (r * w + c):3 * (r * w + c) + 3]) < 0x80 for c in range(w)) for r in range(h)]
bands, start, gap = [], None, 0
for r, t in enumerate(text + [False] * 4):
    if t:
        start, gap = (r if start is None else start), 0
    elif start is not None:
        gap += 1
        if gap > 3:
            bands.append((start, r - gap)); start = None
if n == 0: print(len(bands))
elif n <= len(bands): print(x + 10 + w // 2, y + 4 + sum(bands[n - 1]) // 2)
else: sys.exit(1)
' "$1" "$x" "$y" "$((w - 20))" "$((h - 8))"
}
choose_entry() { local xy; xy=$(menu_entry "$1" "${2:-}") && point "move $xy" "click left"; }

start_quendax() {
    "$out/quendax" >"$out/quendax-$1.log" 2>&1 &
    app=$! && track "$app"
    wait_for 100 eval '[ "$(window_state)" = visible ]'
}

# A host that does not read the menu over the bus asks the item to show it
# (ContextMenu at the pointer): on Wayland nothing, rather than a window in
# the middle of the screen.
context_menu() {
    local item xy before added
    item=$(watcher RegisteredStatusNotifierItems | sed -n 's/.*string "\(.*\)".*/\1/p' | grep -- "-$app-" | head -n 1)
    xy=$(find_icon) && [ -n "$item" ] || { failed "$order: ContextMenu: no icon or no item"; return; }
    before=$(windows | wc -l)
    bus --dest="${item%%/*}" "/${item#*/}" org.kde.StatusNotifierItem.ContextMenu "int32:${xy% *}" "int32:${xy#* }" >/dev/null
    sleep 1.5
    added=$(windows | tail -n +"$((before + 1))" | grep '^qx-window added .* quendax ' | head -n 1)
    case $added in
        "") ok "$order: ContextMenu opened no window of its own" ;;
        *) failed "$order: ContextMenu opened the menu as a window of its own (${added#qx-window added })"
           shot 0 0 1280 800 "$out/contextmenu.png"
           [ -n "${QX_SHOTS:-}" ] && cp "$out/contextmenu.png" "$QX_SHOTS/${order// /-}-contextmenu.png" ;;
    esac
    [ -n "$added" ] || return
    point "move 1000 700" "click left"; sleep 0.7
    [ "$(windows | tail -n +"$((before + 1))" | grep -c '^qx-window removed .* quendax ')" -gt 0 ] \
        || failed "$order: a click away left that menu open"
}

expect() {  # WHAT WANTED GOT
    if [ "$2" = "$3" ]; then ok "$order: $1: $3"; else failed "$order: $1: wanted $2, got $3"; fi
}

checks() {
    local xy menu y n
    if xy=$(wait_for 150 find_icon && find_icon); then ok "$order: icon in the panel at $xy"
    else failed "$order: no icon in the panel"; shot 0 0 1280 800 "$out/no-icon.png"; return; fi
    watcher RegisteredStatusNotifierItems | grep -q "StatusNotifierItem-$app-" \
        && ok "$order: registered as a StatusNotifierItem" || failed "$order: not registered with the watcher"
    expect "window at the start" visible "$(window_state)"

    click_icon right && wait_for 30 open_menu
    if menu=$(open_menu); then
        ok "$order: right-click opened a menu (at $menu)"
        read -r _ y _ _ <<<"$menu"
        [ "$y" -le $((panel_h + 20)) ] && ok "$order: the menu is at the panel" || failed "$order: the menu is away from the panel (at y $y)"
        expect "menu entries" 2 "$(menu_entry 0 "${order// /-}-menu-visible")"
    else
        failed "$order: right-click opened no menu"
        shot 0 0 1280 800 "$out/no-menu.png"
    fi
    choose_entry 1; expect "after Hide" absent "$(settled)"
    click_icon right && wait_for 30 open_menu && choose_entry 1 "${order// /-}-menu-hidden"
    expect "after Show" visible "$(settled)"

    n=$(changes click_icon double)
    expect "window changes in a double-click ($(cat "$out/activates") Activate calls)" 1 "$n"
    expect "after the double-click" absent "$(window_state)"
    n=$(changes click_icon double)
    expect "window changes in another double-click ($(cat "$out/activates") Activate calls)" 1 "$n"
    expect "after the second double-click" visible "$(window_state)"
    click_icon left; expect "after a click" absent "$(settled)"
    click_icon left; expect "after another click" visible "$(settled)"

    context_menu
    click_icon right && wait_for 30 open_menu && choose_entry 2
    if wait_for 50 eval '! kill -0 $app'; then ok "$order: Exit ended the program"
    else failed "$order: Exit did not end the program"; fi
}

order="shell first"
start_shell && ok "$order: plasmashell is up after $((SECONDS - shell_start)) s" || { echo "FAILED: plasmashell did not start"; exit 1; }
start_quendax 1 || failed "$order: the program showed no window"
checks
stop_shell || failed "plasmashell did not end"

order="shell later"
start_quendax 2 || failed "$order: the program showed no window"
sleep 1
start_shell && ok "$order: plasmashell is up after $((SECONDS - shell_start)) s" || { echo "FAILED: plasmashell did not start again"; exit 1; }
checks

echo "KWin $("$out/kwin_wayland" --version 2>/dev/null | awk '{ print $2 }'), plasmashell $(plasmashell --version 2>/dev/null | awk '{ print $2 }'):" \
    "$failures failure(s) in $SECONDS s"
[ -n "${QX_SHOTS:-}" ] && windows >"$QX_SHOTS/windows.log"
exit $((failures > 0))
INNER

runuser -u "$user" -- env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$run" QX_SHOTS="${QX_SHOTS:-}" \
    dbus-run-session -- bash "$out/session.sh" "$out" 2>"$out/session.err"
status=$?
# Whatever of the session outlived its bus (kconf_update's helpers, say):
# the processes whose XDG_RUNTIME_DIR is this run's, one by one.
for env in /proc/[0-9]*/environ; do
    pid=${env#/proc/}; pid=${pid%/environ}
    { tr '\0' '\n' <"$env"; } 2>/dev/null | grep -qxF "XDG_RUNTIME_DIR=$run" && kill "$pid" 2>/dev/null
done
if [ "$status" != 0 ]; then
    for f in "$out"/quendax-*.log "$out/plasmashell.log" "$out/session.err"; do
        [ -f "$f" ] && { echo "--- ${f##*/} (last lines)"; tail -n 20 "$f"; }
    done
    exit 1
fi
