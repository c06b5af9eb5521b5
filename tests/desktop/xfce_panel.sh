# An Xfce desktop on a private X display: xfwm4 and an xfce4-panel that
# holds only the notification area (its "systray" plugin is both the XEmbed
# tray and the StatusNotifierItem watcher and host). Sourced by a bash
# script before anything else: it runs that script again inside a session
# bus of its own (so xfconf and the watcher are private), then brings in
# xvfb_tray.sh (work, wait_for, track, start_xvfb...). It gives as well:
#   start_xfwm4             xfconf with the panel below (XDG_*_HOME in $work),
#                           then xfwm4; status 1 when either did not start
#   start_panel / stop_panel [SIGNAL]
#                           the panel at the top left (pid in panel_pid), up
#                           with its tray / ended (TERM unless told), tray gone
#   find_icon               prints "X Y", the centre of what stands out of the
#                           panel's background; status 1 when nothing does
#   menu_pick KEY...        keys for an open menu (h, s, e, Down, Return)
#   window_state WINDOW     "mapped=... wm=... net=..." of WINDOW
own_bus=1  # a session bus of its own, ended with the script
. "$(dirname "${BASH_SOURCE[0]}")/xvfb_tray.sh"

# The panel's background (background-rgba below), so that icons stand out.
xfce_panel_bg='#203040'
# A "configver" and a panel: no first-run dialog. One per cent of the
# screen's width, grown to what the tray needs.
xfce_panel_config() {
    local dir=$work/config/xfce4/xfconf/xfce-perchannel-xml
    mkdir -p "$dir"
    cat >"$dir/xfce4-panel.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array"><value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/><property name="position-locked" type="bool" value="true"/>
      <property name="length" type="uint" value="1"/><property name="length-adjust" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/><property name="background-style" type="uint" value="1"/>
      <property name="background-rgba" type="array"><value type="double" value="0.12549"/>
        <value type="double" value="0.188235"/><value type="double" value="0.25098"/><value type="double" value="1"/></property>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty"><property name="plugin-1" type="string" value="systray">
    <property name="square-icons" type="bool" value="true"/></property></property>
</channel>
EOF
}

start_xfwm4() {
    local name
    xfce_panel_config
    # Nothing written to the home folder; no accessibility bus either.
    export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data NO_AT_BRIDGE=1
    # xfconfd is started by the bus when first asked: it must see them too.
    for name in XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME NO_AT_BRIDGE; do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.UpdateActivationEnvironment "dict:string:string:$name,${!name}" >/dev/null || return 1
    done
    wait_for 50 xfconf-query -c xfce4-panel -p /configver || return 1
    xfwm4 --compositor=off --sm-client-disable >>"$work/xfwm4.log" 2>&1 &
    track $!
    wait_for 100 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

xfce_panel_watcher() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}
xfce_panel_tray_up() { xfce_panel_watcher IsStatusNotifierHostRegistered | grep -q "boolean true"; }
# The panel's own window (the tray's plug is a child of it).
xfce_panel_window() { xdotool search --onlyvisible --classname '^xfce4-panel$' | head -n 1 | grep .; }

start_panel() {
    xfce4-panel --sm-client-disable >>"$work/panel.log" 2>&1 &
    panel_pid=$! && track "$panel_pid"
    # The tray plugin runs in a process of its own, started by the panel.
    wait_for 150 xfce_panel_tray_up && wait_for 50 xfce_panel_window
}

stop_panel() {
    kill -"${1:-TERM}" "$panel_pid" 2>/dev/null
    wait "$panel_pid" 2>/dev/null  # quietly, even when killed
    untrack "$panel_pid"
    wait_for 50 eval '! xfce_panel_tray_up'
}

find_icon() {
    local win X Y WIDTH HEIGHT xy
    win=$(xfce_panel_window) || return 1
    eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    import -window root "$work/find_icon.png" 2>/dev/null || return 1
    xy=$(centre_of_others "$work/find_icon.png" "$xfce_panel_bg" "${WIDTH}x${HEIGHT}+$X+$Y") || return 1
    echo "$((X + ${xy% *})) $((Y + ${xy#* }))"
}

menu_pick() { local key; for key in "$@"; do xdotool key "$key"; sleep 0.2; done; }

window_state() {
    local mapped wm net
    mapped=$(xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Map State: //p')
    wm=$(xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p')
    net=$(xprop -id "$1" _NET_WM_STATE 2>/dev/null | sed 's/.*= //; s/.*not found.*//; s/_NET_WM_STATE_//g; s/ //g')
    echo "mapped=${mapped:-?} wm=${wm:-none} net=${net:-none}"
}
