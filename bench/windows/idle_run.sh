#!/bin/sh
# Idle cost of quendax.exe under Wine: the program at Normal speed (ten
# readout ticks a second) beside a bare Win32 window that redraws one label
# ten times a second, both running at the same time on one Xvfb display with
# a notification area (trayer). For each round: the processor time of each
# program's own process (all its threads, from the scheduler's account; the
# Wine server not counted) over the measured seconds, its peak resident
# memory, and its private bytes: the memory of its own it holds (the
# Anonymous line of /proc/PID/smaps_rollup at the end of the round: heaps,
# stacks, pages of images changed in memory; as on Windows, image pages
# mapped from their files are not private bytes). Prints the medians and
# quendax.exe's ratio to the bare window. A third process, quendax.exe
# /AUTO (hidden in the notification area, as after a start at log-on), shows
# the cost when the window isn't on screen. A fourth, the bare window with
# the program's manifest (visual styles: common controls 6, which under Wine
# reads the theme into each process), shows what the styles alone cost.
# Builds nothing.
#
# Usage: bench/windows/idle_run.sh [BUILD_DIR]   (default: build/windows-x64)
# Environment: SECONDS_MEASURED (20), WARMUP (5 s, not counted), ROUNDS (3).
# Goal: at most 1.1 x the bare window in processor time and in private bytes.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build/windows-x64}" && pwd)
quendax=$build/src/platform/win32/quendax.exe
bare=$build/bench/windows/qx_win32_bare_window.exe
styled=$build/bench/windows/qx_win32_bare_window_styled.exe
for program in "$quendax" "$bare" "$styled"; do
    [ -f "$program" ] || { echo "idle_run.sh: $program is missing; build the windows-x64 tree first" >&2; exit 2; }
done
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine64" ] || { echo "idle_run.sh: needs wine64 ($wine64)" >&2; exit 2; }
command -v Xvfb >/dev/null 2>&1 || { echo "idle_run.sh: needs Xvfb" >&2; exit 2; }
measured=${SECONDS_MEASURED:-20}
warmup=${WARMUP:-5}
rounds=${ROUNDS:-3}

work=$(mktemp -d)
# Measured as shipped: stripped (scripts/build-windows-release.sh strips).
# With its debug information the file is some MiB larger, and how much of
# that Wine reads into memory depends on where the sections happen to lie.
strip=x86_64-w64-mingw32-strip
if command -v "$strip" >/dev/null 2>&1; then
    "$strip" -o "$work/quendax.exe" "$quendax" && quendax=$work/quendax.exe
    "$strip" -o "$work/bare_window.exe" "$bare" && bare=$work/bare_window.exe
    "$strip" -o "$work/bare_window_styled.exe" "$styled" && styled=$work/bare_window_styled.exe
fi
WINEPREFIX="$build/bench-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
xvfb_pid= trayer_pid=
cleanup() {
    for pid in $(cat "$work"/pids 2>/dev/null); do kill "$pid" 2>/dev/null || true; done
    "$wineserver" -k </dev/null >/dev/null 2>&1 || true
    [ -n "$trayer_pid" ] && kill "$trayer_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

for n in $(seq 200 260); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
sleep 1
if command -v trayer >/dev/null 2>&1; then
    trayer --edge top --align right --widthtype pixel --width 160 --heighttype pixel --height 32 \
        </dev/null >/dev/null 2>&1 &
    trayer_pid=$!
fi
mkdir -p "$WINEPREFIX"
"$wine64" wineboot --init </dev/null >/dev/null 2>&1

# The Linux process that runs a Windows program (Wine's loader keeps the
# program's path in its command line).
pid_of() {
    for p in $(pgrep -n -f "$1"); do echo "$p"; return 0; done
    return 1
}
# Processor time of all of a process's threads in microseconds, from the
# scheduler's own account in nanoseconds (/proc/PID/task/*/schedstat): the
# 10 ms clock ticks of /proc/PID/stat come to about ten over 20 s at half a
# per cent, too few for a ratio.
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%d\n", ns / 1000}'; }
peak_rss_kb() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status"; }
private_kb() { awk '/^Anonymous:/ {print $2}' "/proc/$1/smaps_rollup"; }

hz=1000000  # cpu_us counts microseconds
echo "Wine $("$wine64" --version 2>/dev/null); $rounds round(s) of ${measured} s after ${warmup} s of warm-up"
: > "$work/results"
round=1
while [ "$round" -le "$rounds" ]; do
    "$wine64" "$quendax" </dev/null >/dev/null 2>&1 &
    ql=$!
    "$wine64" "$bare" </dev/null >/dev/null 2>&1 &
    bl=$!
    "$wine64" "$quendax" /AUTO </dev/null >/dev/null 2>&1 &
    al=$!
    "$wine64" "$styled" </dev/null >/dev/null 2>&1 &
    sl=$!
    sleep "$warmup"
    q=$(pid_of "$quendax\$") || { echo "quendax.exe did not start" >&2; exit 1; }
    a=$(pid_of "$quendax /AUTO") || { echo "quendax.exe /AUTO did not start" >&2; exit 1; }
    b=$(pid_of "$bare") || { echo "the bare window did not start" >&2; exit 1; }
    s=$(pid_of "$styled") || { echo "the styled bare window did not start" >&2; exit 1; }
    echo "$q $a $b $s" > "$work/pids"
    q0=$(cpu_us "$q"); a0=$(cpu_us "$a"); b0=$(cpu_us "$b"); s0=$(cpu_us "$s")
    sleep "$measured"
    q1=$(cpu_us "$q"); a1=$(cpu_us "$a"); b1=$(cpu_us "$b"); s1=$(cpu_us "$s")
    qrss=$(peak_rss_kb "$q"); brss=$(peak_rss_kb "$b")
    qpriv=$(private_kb "$q"); bpriv=$(private_kb "$b"); spriv=$(private_kb "$s")
    kill "$q" "$a" "$b" "$s"
    wait "$ql" "$bl" "$al" "$sl" 2>/dev/null || true
    echo "$((q1 - q0)) $((b1 - b0)) $qrss $brss $((a1 - a0)) $qpriv $bpriv $spriv $((s1 - s0))" >> "$work/results"
    echo "round $round: quendax.exe $(((q1 - q0) / 1000)) ms, ${qrss} kB peak, ${qpriv} kB private;" \
        "bare window $(((b1 - b0) / 1000)) ms, ${brss} kB peak, ${bpriv} kB private; quendax.exe /AUTO $(((a1 - a0) / 1000)) ms"
    round=$((round + 1))
done

python3 - "$work/results" "$hz" "$measured" <<'PY'
import statistics, sys
rows = [list(map(int, line.split())) for line in open(sys.argv[1]) if line.strip()]
hz, seconds = int(sys.argv[2]), float(sys.argv[3])
def median(i): return statistics.median(r[i] for r in rows)
q_cpu, b_cpu = median(0) / hz / seconds * 100, median(1) / hz / seconds * 100
q_rss, b_rss = median(2) / 1024, median(3) / 1024
def ratio(a, b): return f"{a / b:.2f}x" if b > 0 else "n/a"
print(f"processor (% of one core, median): quendax.exe {q_cpu:.2f} %, bare window {b_cpu:.2f} %, ratio {ratio(q_cpu, b_cpu)}")
a_cpu = median(4) / hz / seconds * 100
print(f"hidden (/AUTO):                     quendax.exe {a_cpu:.2f} %, ratio {ratio(a_cpu, b_cpu)}")
print(f"peak RSS (MiB, median):             quendax.exe {q_rss:.1f}, bare window {b_rss:.1f}, ratio {ratio(q_rss, b_rss)}")
q_priv, b_priv = median(5) / 1024, median(6) / 1024
print(f"private bytes (MiB, median):        quendax.exe {q_priv:.1f}, bare window {b_priv:.1f}, ratio {ratio(q_priv, b_priv)}")
s_priv = median(7) / 1024
s_cpu = median(8) / hz / seconds * 100
print(f"bare window with visual styles:     processor {s_cpu:.2f} % (quendax.exe / that: {ratio(q_cpu, s_cpu)}),"
      f" private bytes {s_priv:.1f} MiB (quendax.exe / that: {ratio(q_priv, s_priv)})")
print("goal: at most 1.1x in processor time and in private bytes")
PY
