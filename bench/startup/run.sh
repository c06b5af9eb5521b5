#!/bin/sh
# Start-up to the first frame on screen: from exec to the first drawing into
# the program's window that shows more than its plain background
# (qx_first_paint_probe: X Damage reports, and the window's pixels), under
# Xvfb. Contenders take turns in a rotating order each round, and medians
# are compared:
#   quendax               the program, as a user starts it
#   empty window          the smallest Qt Widgets program with a window
#                         (qx_idle_empty_window), which draws no text
#   window with text      the same window with three captions, in the
#                         default font (qx_idle_empty_window --text)
# With a Windows build tree (and Wine), then quendax.exe beside a bare Win32
# window that draws one label, and beside the same window with the program's
# manifest (visual styles: common controls 6), in one Wine prefix and one
# Wine server kept up between rounds. A round before the timed ones warms up
# all of them. Each start ends by closing its window, as a user would.
#
# Usage: bench/startup/run.sh [BUILD_DIR [WINDOWS_BUILD_DIR]]
#        (defaults build/release and build/windows-x64; Wine is skipped
#        when that tree or Wine is missing)
# Environment: ROUNDS (21: on a shared machine single starts vary by a third).
# Goal: at most 1.1 x the empty window on X11, and 1.1 x the bare window
# under Wine.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
windows=${2:-$root/build/windows-x64}
# Wine wants its prefix as an absolute path.
[ -d "$windows" ] && windows=$(cd "$windows" && pwd)
rounds=${ROUNDS:-21}
probe=$build/bench/startup/qx_first_paint_probe
quendax=$build/src/platform/qt/quendax
empty=$build/bench/idle/qx_idle_empty_window
for program in "$probe" "$quendax" "$empty"; do
    [ -x "$program" ] || { echo "run.sh: $program is missing; build the release tree first" >&2; exit 2; }
done

# In a session bus of its own, as on a desktop: without one, libdbus would
# start one for the X display (dbus-launch --autolaunch), which outlives it.
own_bus=1
. "$root/tests/desktop/xvfb_tray.sh"
start_xvfb 60 89 1280x1024x24 || { echo "run.sh: Xvfb did not start" >&2; exit 1; }

# contender NAME: one start, its milliseconds on standard output.
contender() {
    case $1 in
        quendax) "$probe" Quendax "$quendax" ;;
        empty) "$probe" empty "$empty" ;;
        text) "$probe" empty "$empty" --text ;;
        quendax.exe) "$probe" --timeout 30 Quendax "$wine64" "$quendax_exe" ;;
        bare) "$probe" --timeout 30 "Bare window" "$wine64" "$bare_exe" ;;
        styled) "$probe" --timeout 30 "Bare window" "$wine64" "$styled_exe" ;;
    esac 2>/dev/null </dev/null
}

# run_rounds FILE NAME...: the warm-up round, then the timed ones, a line
# of milliseconds per round in FILE, in the order of NAME. Each round starts
# with the next contender.
run_rounds() {
    file=$1; shift
    for name in "$@"; do contender "$name" >/dev/null || true; done
    round=0
    while [ "$round" -lt "$rounds" ]; do
        i=0
        for name in "$@"; do
            echo "$(((i - round % $# + $#) % $#)) $i $name"
            i=$((i + 1))
        done | sort -n | while read -r _ index name; do
            echo "$index $(contender "$name" || echo nan)"
        done | sort -n | cut -d' ' -f2 | paste -sd' ' >> "$file"
        round=$((round + 1))
    done
}

report() {
    python3 - "$@" <<'PY'
import math, statistics, sys
file, names = sys.argv[1], sys.argv[2:]
rows = [[float(x) for x in line.split()] for line in open(file) if line.strip()]
medians = []
for i, name in enumerate(names):
    times = [r[i] for r in rows if not math.isnan(r[i])]
    medians.append(statistics.median(times) if times else float("nan"))
    print(f"  {name:18s} median {medians[-1]:7.1f} ms  (of {len(times)}: {min(times):.1f} .. {max(times):.1f})")
base = medians[1]
for name, m in zip(names[2:], medians[2:]):
    print(f"  {names[0]} / {name}: {medians[0] / m:.2f}x")
print(f"  {names[0]} / {names[1]}: {medians[0] / base:.2f}x  (goal: at most 1.1x)")
PY
}

echo "start-up to the first frame, $rounds rounds after a warm-up round, on Xvfb $DISPLAY"
run_rounds "$work/linux" quendax empty text
report "$work/linux" quendax "empty window" "window with text"

wine64=/usr/lib/wine/wine64
quendax_exe=$windows/src/platform/win32/quendax.exe
bare_exe=$windows/bench/windows/qx_win32_bare_window.exe
styled_exe=$windows/bench/windows/qx_win32_bare_window_styled.exe
if [ ! -x "$wine64" ] || [ ! -f "$quendax_exe" ] || [ ! -f "$bare_exe" ] || [ ! -f "$styled_exe" ]; then
    echo "Wine: skipped (needs $wine64, $quendax_exe, $bare_exe and $styled_exe)"
    exit 0
fi
# Timed as shipped: stripped.
if command -v x86_64-w64-mingw32-strip >/dev/null 2>&1; then
    x86_64-w64-mingw32-strip -o "$work/quendax.exe" "$quendax_exe" && quendax_exe=$work/quendax.exe
    x86_64-w64-mingw32-strip -o "$work/bare_window.exe" "$bare_exe" && bare_exe=$work/bare_window.exe
    x86_64-w64-mingw32-strip -o "$work/bare_styled.exe" "$styled_exe" && styled_exe=$work/bare_styled.exe
fi
WINEPREFIX=$windows/bench-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
mkdir -p "$WINEPREFIX"
"$wine64" wineboot --init </dev/null >/dev/null 2>&1 || { echo "run.sh: wineboot failed in $WINEPREFIX" >&2; exit 1; }
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 &
track $!
echo "Wine $("$wine64" --version 2>/dev/null), one prefix and server for all rounds"
run_rounds "$work/wine" quendax.exe bare styled
report "$work/wine" quendax.exe "bare window" "bare window styled"
/usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
