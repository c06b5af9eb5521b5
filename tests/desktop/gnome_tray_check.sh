#!/usr/bin/env bash
# By hand, as root (too heavy for CI): the notification-area icon on a real
# GNOME Shell (headless, Wayland only) whose AppIndicator extension is the
# StatusNotifierWatcher and host, used with a real pointer as a person would.
# Usage: gnome_tray_check.sh PATH/TO/quendax   (screenshots and logs are kept)
# Twice, each time in a desktop session of its own (own session bus, a
# private system bus) of a user made here: "shell first" starts the program in
# a running shell; "tray late" starts it while the extension is off and turns
# the extension on afterwards: on Wayland the shell is the compositor, so that
# is how the tray comes after the program, as at log-in.
# - Pointer and keys: Mutter's RemoteDesktop D-Bus API (relative motion and
#   buttons need no screen-cast stream), so the shell sees real input events.
# - Screenshots: org.gnome.Shell.Screenshot. The icon is what the top bar's
#   right side shows beyond a shot taken before it came; menu entries are the
#   rows of text in what a click opened below it.
# - The window: the shell's own list (org.gnome.Shell.Introspect.GetWindows;
#   hidden means unmapped, so no longer listed), beside the program's dbusmenu
#   label ("_Hide" while shown, "_Show" while hidden). The shell answers both
#   only to the desktop portal: the helper takes that name on the private bus.
# The extension (version 46 here) opens the menu on a left or right click and
# sends Activate on a double-click, SecondaryActivate on a middle click. It can
# drop an item that registers while it starts (a race of its own, "Argument
# two may not be null" in its log): that is noted, and it is turned off and on.
set -u
if [ "${1:-}" != --session ]; then
  quendax=${1:?usage: $0 PATH/TO/quendax}
  [ "$(id -u)" = 0 ] || { echo "SKIPPED: run as root (it creates a user)"; exit 77; }
  ext=/usr/share/gnome-shell/extensions/ubuntu-appindicators@ubuntu.com
  need() { [ -e "$1" ] || { echo "SKIPPED: $1 is missing: apt-get install --no-install-recommends $2"; exit 77; }; }
  need /usr/bin/gnome-shell gnome-shell; need "$ext/metadata.json" gnome-shell-extension-appindicator
  need /usr/bin/dbus-run-session dbus-daemon; need /usr/bin/gsettings libglib2.0-bin; need /usr/sbin/runuser util-linux
  need /usr/bin/python3 python3; need /usr/lib/python3/dist-packages/gi python3-gi
  need "$(echo /usr/lib/*/girepository-1.0/GdkPixbuf-2.0.typelib)" gir1.2-gdkpixbuf-2.0
  need "$(echo /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so)" qt6-wayland
  user=quendax-gnome
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" || exit 1
  work=$(mktemp -d /tmp/gnome_tray_check.XXXXXX); chmod 755 "$work"
  mkdir "$work/out"; chown "$user" "$work/out"   # the sessions' screenshots and logs
  cp "$quendax" "$work/quendax"; chmod 755 "$work/quendax"
  # The helper: pointer, keys, screenshots and what they show, the window's state.
  cat >"$work/helper.py" <<'PY'
import sys, time, gi
gi.require_version('GdkPixbuf', '2.0')
from gi.repository import Gio, GLib, GdkPixbuf
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
def call(dest, path, iface, method, sig=None, *args):
    return bus.call_sync(dest, path, iface, method, GLib.Variant(sig, args) if sig else None,
                         None, 0, 10000, None).unpack()
call('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus', 'RequestName', '(su)',
     'org.freedesktop.impl.portal.desktop.gnome', 4)
RD = 'org.gnome.Mutter.RemoteDesktop'
session = call(RD, '/org/gnome/Mutter/RemoteDesktop', RD, 'CreateSession')[0]
def rd(method, sig=None, *args): return call(RD, session, RD + '.Session', method, sig, *args)
rd('Start')
w, h = int(sys.argv[1]), int(sys.argv[2])
rd('NotifyPointerMotionRelative', '(dd)', 9999, 9999)  # to the bottom right corner: known, no hot corner
pos = [w - 1, h - 1]
def move(x, y):
    rd('NotifyPointerMotionRelative', '(dd)', x - pos[0], y - pos[1]); pos[:] = x, y; time.sleep(0.3)
def image(name):
    p = GdkPixbuf.Pixbuf.new_from_file(name); d, n, s = p.get_pixels(), p.get_n_channels(), p.get_rowstride()
    return lambda x, y: d[y * s + x * n:y * s + x * n + 3]
def differs(a, b, x, y): return sum(abs(i - j) for i, j in zip(a(x, y), b(x, y))) > 48
def runs(values, gap):  # consecutive integers (gaps up to gap) as [first, last] pairs
    out = []
    for v in values:
        if out and v - out[-1][1] <= gap: out[-1][1] = v
        else: out.append([v, v])
    return out
def icon(ref, now):  # leftmost new thing on the right of the top bar
    a, b = image(ref), image(now)
    cols = [x for x in range(w * 6 // 10, w) if any(differs(a, b, x, y) for y in range(2, 29))]
    return '%d 15' % (sum(runs(cols, 3)[0]) // 2) if cols else 'none'
def menu(ref, now, ix):  # the entries of a menu that opened below the bar: "X Y1 Y2..."
    a, b = image(ref), image(now); xs = range(max(0, ix - 300), min(w, ix + 300))
    hit = [(x, y) for y in range(34, 400) for x in xs if differs(a, b, x, y)]
    if not hit: return 'none'
    x0, x1 = min(p[0] for p in hit) + 8, max(p[0] for p in hit) - 8
    y0, y1 = min(p[1] for p in hit), max(p[1] for p in hit)
    text = [y for y in range(y0, y1) if any(min(b(x, y)) > 180 for x in range(x0, x1))]
    return ' '.join([str((x0 + x1) // 2)] + [str(sum(r) // 2) for r in runs(text, 1) if r[1] - r[0] >= 4])
def state(pid):
    wins = call('org.gnome.Shell', '/org/gnome/Shell/Introspect', 'org.gnome.Shell.Introspect', 'GetWindows')[0]
    win = [v for v in wins.values() if v.get('title') == 'Quendax']
    layout = call('org.kde.StatusNotifierItem-%s-1' % pid, '/MenuBar', 'com.canonical.dbusmenu', 'GetLayout',
                  '(iias)', 0, -1, [])[1]
    label = [c[1].get('label') for c in layout[2] if c[0] == 1]
    return '%s %s' % ('absent' if not win else 'minimized' if win[0]['is-hidden'] else 'shown', label and label[0])
buttons = {'left': 272, 'right': 273, 'middle': 274}  # evdev codes
for line in sys.stdin:
    a, out = line.split(), 'done'
    try:
        if a[0] == 'shot':
            out = call('org.gnome.Shell.Screenshot', '/org/gnome/Shell/Screenshot', 'org.gnome.Shell.Screenshot',
                       'Screenshot', '(bbs)', False, False, a[1])[1]
        elif a[0] == 'key':
            for down in (True, False): rd('NotifyKeyboardKeysym', '(ub)', int(a[1], 0), down); time.sleep(0.05)
        elif a[0] in ('move', 'click'):
            move(int(a[1]), int(a[2]))
            for _ in range(int(a[4]) if a[0] == 'click' else 0):
                for down in (True, False): rd('NotifyPointerButton', '(ib)', buttons[a[3]], down); time.sleep(0.05)
        elif a[0] == 'icon': out = icon(a[1], a[2])
        elif a[0] == 'menu': out = menu(a[1], a[2], int(a[3]))
        elif a[0] == 'state': out = state(a[1])
    except Exception as e:
        out = 'error: %s' % str(e).replace('\n', ' ')
    print(out, flush=True)
PY
  # gnome-shell wants a system bus: a private one that lets everybody in.
  cat >"$work/system.conf" <<EOF
<busconfig><listen>unix:path=$work/system_bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/></policy></busconfig>
EOF
  dbus-daemon --config-file="$work/system.conf" --nofork 2>/dev/null & sysbus=$!
  trap 'kill "$sysbus" 2>/dev/null' EXIT
  for _ in $(seq 50); do [ -S "$work/system_bus" ] && break; sleep 0.1; done
  for mode in "shell first" "tray late"; do
    run=$work/run-${mode% *}; home=$work/home-${mode% *}; mkdir -m 700 "$run" "$home"; chown "$user" "$run" "$home"
    runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$run" LANG=C.UTF-8 \
      DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus" \
      dbus-run-session -- bash "$0" --session "$mode" "$work" "$(basename "$ext")" 2>>"$work/out/session.log"
  done | grep --line-buffered -E '^(ok|FAILED|note):' | tee "$work/results"
  kill "$sysbus"; wait "$sysbus" 2>/dev/null; trap - EXIT
  # Whatever the sessions' buses started and left behind (none, normally).
  for pid in $(pgrep -u "$user"); do kill "$pid"; done
  rm -rf "$work/quendax" "$work"/run-* "$work"/home-*
  grep -q '^ok:' "$work/results" || echo "FAILED: no check ran (see $work/out/session.log)" | tee -a "$work/results"
  echo "$(grep -c '^ok:' "$work/results") passed, $(grep -c '^FAILED:' "$work/results") failed  (screenshots and logs in $work)"
  ! grep -q '^FAILED:' "$work/results"; exit
fi

mode=$2 work=$3 uuid=$4 out=$3/out; export WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=wayland
tag=${mode% *} log=$3/out/shell-${mode% *}.log prog=0 step=0
ok() { echo "ok: [$mode] $*"; }
bad() { echo "FAILED: [$mode] $*"; }
gsettings set org.gnome.desktop.interface enable-hot-corners false
gsettings set org.gnome.shell disable-user-extensions false
extension() { gsettings set org.gnome.shell enabled-extensions "$1"; }
[ "$tag" = shell ] && extension "['$uuid']" || extension "[]"
set -m  # background jobs take SIGINT: the shell ends cleanly on it (SIGTERM may crash it)
gnome-shell --headless --wayland --no-x11 --virtual-monitor 1280x800 >"$log" 2>&1 & shell=$!
complaints() { # what the extension logged when it talked to the item (its race is noted apart)
  local kinds; kinds=$(grep 'AppIndicators-[A-Z]* \*\*' "$log" | grep -v 'initalizing proxy' \
    | sed 's/.*\*\*: [0-9:.]*: [^,]*, //; s/: GDBus.Error:/ (/; s/: .*/)/' | sort | uniq -c | paste -sd';')
  [ -z "$kinds" ] && ok "the extension logged no complaint about the item" \
    || bad "the extension logged complaints about the item:$(tr -s ' ' <<<"$kinds")"; }
cleanup() {
  [ "$prog" != 0 ] && kill "$prog" 2>/dev/null
  complaints; [ -n "${H_PID:-}" ] && kill "$H_PID" 2>/dev/null
  kill -INT "$shell"; for _ in $(seq 50); do kill -0 "$shell" 2>/dev/null || break; sleep 0.1; done
  kill "$shell" 2>/dev/null; wait 2>/dev/null; }
trap cleanup EXIT
for _ in $(seq 100); do gdbus introspect --session --dest org.gnome.Shell.Screenshot \
  --object-path /org/gnome/Shell/Screenshot >/dev/null 2>&1 && break; sleep 0.2; done
coproc H { /usr/bin/python3 "$work/helper.py" 1280 800; }
h() { echo "$*" >&"${H[1]}"; read -r reply <&"${H[0]}"; echo "$reply"; }
sleep 1; h key 0xff1b >/dev/null; sleep 1          # out of the overview the shell starts in
shot() { h shot "$out/$tag-$1.png" >/dev/null; }   # shot NAME
state() { h state "$prog"; }                        # "shown _Hide", "absent _Show"...
expect() { # expect STATE WHAT: polls up to 3 s, then a screenshot to look at
  local s; for _ in $(seq 15); do s=$(state); [ "$s" = "$1" ] && break; sleep 0.2; done
  shot "step$((++step))"
  [ "$s" = "$1" ] && ok "$2 ($s)" || bad "$2: window and menu label are \"$s\", not \"$1\""; }
settle() { # time for the item to show; the extension may drop it as it comes (a race of its own)
  local seen=0 now
  for _ in 1 2 3; do
    sleep 3; now=$(grep -c "initalizing proxy for org.kde.StatusNotifierItem-$prog-" "$log")
    [ "$now" = "$seen" ] && return
    seen=$now; echo "note: [$mode] the extension dropped the item as it came (its own race): it goes off and on"
    extension "[]"; sleep 1; extension "['$uuid']"
  done; }
open_menu() { # open_menu BUTTON: the entries' "X Y1 Y2..." in menu, or none
  h move 640 700 >/dev/null; shot premenu; h click "$icon" "$1" 1 >/dev/null; sleep 1; shot menu
  menu=$(h menu "$out/$tag-premenu.png" "$out/$tag-menu.png" "${icon% *}"); }
pick() { h click "${menu%% *}" "$1" left 1 >/dev/null; sleep 0.5; }   # pick Y

[ "$tag" = shell ] && shot ref
"$work/quendax" >"$out/quendax-$tag.log" 2>&1 & prog=$!
[ "$tag" = shell ] || { sleep 4; shot ref; extension "['$uuid']"; }
settle
gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher --method \
  org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems \
  | grep -q "StatusNotifierItem-$prog-1" && ok "the icon is registered with the extension's watcher" \
  || bad "the icon is not registered with the extension's watcher"
h move 640 700 >/dev/null; shot bar; icon=$(h icon "$out/$tag-ref.png" "$out/$tag-bar.png")
[ "$icon" != none ] && ok "the icon is in the top bar at $icon" || { bad "no icon in the top bar"; exit; }
expect "shown _Hide" "the window is shown at start"
open_menu right
[ "$(wc -w <<<"$menu")" = 3 ] && ok "a right click opens the menu: two entries and a separator" \
  || { bad "a right click opens no menu of two entries (found: $menu)"; exit; }
pick "$(cut -d' ' -f2 <<<"$menu")"; expect "absent _Show" "Hide in the menu hides the window"
open_menu right; pick "$(cut -d' ' -f2 <<<"$menu")"; expect "shown _Hide" "Show in the menu shows the window"
open_menu left
[ "$menu" != none ] && [ "$(state)" = "shown _Hide" ] \
  && ok "a left click opens the menu (the extension's convention) and leaves the window shown" \
  || bad "a left click: menu \"$menu\", window \"$(state)\""
h key 0xff1b >/dev/null; sleep 0.5
h click "$icon" left 2 >/dev/null; sleep 1; expect "absent _Show" "a double-click hides the window (one toggle)"
sleep 1; h click "$icon" left 2 >/dev/null; sleep 1; expect "shown _Hide" "a double-click shows it again (one toggle)"
sleep 1; h click "$icon" middle 1 >/dev/null; sleep 1
expect "shown _Hide" "a middle click (SecondaryActivate) leaves the window as it was"
open_menu right; pick "$(awk '{print $NF}' <<<"$menu")"
for _ in $(seq 50); do kill -0 "$prog" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$prog" 2>/dev/null; then bad "Exit in the menu did not end the program"
else wait "$prog"; ok "Exit in the menu ends the program (status $?)"; prog=0; fi
sleep 1; h move 640 700 >/dev/null; shot gone
[ "$(h icon "$out/$tag-ref.png" "$out/$tag-gone.png")" = none ] && ok "the icon leaves the top bar" \
  || bad "the icon is still in the top bar after Exit"
