#!/bin/sh
# Idle cost of quendax: runs the real program at Normal speed (ten readout
# ticks a second) next to an empty Qt Widgets window for 30 s, and prints
# for both the processor time used (as % of one core) and the peak resident
# memory, with quendax's share of each. A third program, the empty window
# repainting a graph-sized box ten times a second, shows the part of the
# processor time that the toolkit and window system take for that rhythm
# alone. A fourth, the empty window showing three captions
# (qx_idle_empty_window --text), shows the memory any text costs: the empty
# window draws none. Builds nothing.
#
# Usage: bench/idle/run.sh [BUILD_DIR]     (default: build/release)
# Environment: SECONDS_MEASURED (30), WARMUP (3 s, not counted), ROUNDS (3;
#   the medians are reported), PLATFORM (xvfb when Xvfb is installed, else
#   offscreen; or set it to offscreen), TRAY (1: a notification area,
#   trayer, on the Xvfb display; the default).
# Goal: quendax under 0.5 % of one core, peak RSS at most 1.15 x the empty
# window.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
quendax=$build/src/platform/qt/quendax
empty=$build/bench/idle/qx_idle_empty_window
for program in "$quendax" "$empty"; do
    [ -x "$program" ] || { echo "run.sh: $program is missing; build the release tree first" >&2; exit 2; }
done
measured=${SECONDS_MEASURED:-30}
warmup=${WARMUP:-3}
rounds=${ROUNDS:-3}
if [ -z "${PLATFORM:-}" ]; then
    if command -v Xvfb >/dev/null 2>&1; then PLATFORM=xvfb; else PLATFORM=offscreen; fi
fi

. "$root/tests/desktop/xvfb_tray.sh"
if [ "$PLATFORM" = xvfb ]; then
    start_xvfb 60 89 1280x1024x24 || { echo "run.sh: Xvfb did not start" >&2; exit 1; }
    if [ "${TRAY:-1}" = 1 ]; then
        start_trayer || { echo "run.sh: trayer did not start" >&2; exit 1; }
        PLATFORM="xvfb with a notification area (trayer)"
    fi
else
    export QT_QPA_PLATFORM=offscreen
fi

# Processor time of all of a process's threads in microseconds, from the
# scheduler's own account in nanoseconds (/proc/PID/task/*/schedstat): the
# 10 ms clock ticks of /proc/PID/stat come to about ten over 20 s at half a
# per cent, too few for a ratio.
cpu_us() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%d\n", ns / 1000}'; }
peak_rss_kb() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status"; }

hz=1000000  # cpu_us counts microseconds
echo "platform: $PLATFORM; $rounds round(s) of ${measured} s after ${warmup} s of warm-up"
: > "$work/results"
round=1
while [ "$round" -le "$rounds" ]; do
    "$quendax" 2>/dev/null &
    q=$!
    "$empty" 2>/dev/null &
    e=$!
    "$empty" --repaint 2>/dev/null &
    f=$!
    "$empty" --text 2>/dev/null &
    t=$!
    track "$q" "$e" "$f" "$t"
    sleep "$warmup"
    q0=$(cpu_us "$q"); e0=$(cpu_us "$e"); f0=$(cpu_us "$f")
    sleep "$measured"
    q1=$(cpu_us "$q"); e1=$(cpu_us "$e"); f1=$(cpu_us "$f")
    qrss=$(peak_rss_kb "$q"); erss=$(peak_rss_kb "$e"); trss=$(peak_rss_kb "$t")
    kill "$q" "$e" "$f" "$t"
    wait "$q" "$e" "$f" "$t" 2>/dev/null || true
    untrack "$q" "$e" "$f" "$t"
    echo "$((q1 - q0)) $((e1 - e0)) $qrss $erss $((f1 - f0)) $trss" >> "$work/results"
    round=$((round + 1))
done

python3 - "$work/results" "$hz" "$measured" <<'PY'
import statistics, sys
rows = [list(map(int, line.split())) for line in open(sys.argv[1])]
hz, seconds = int(sys.argv[2]), float(sys.argv[3])
pct = lambda ticks: ticks / hz / seconds * 100
for i, (qt, et, qr, er, ft, tr) in enumerate(rows, 1):
    print(f"round {i}: quendax {pct(qt):5.2f} % cpu, {qr / 1024:6.1f} MB peak RSS | "
          f"empty window {pct(et):5.2f} % cpu, {er / 1024:6.1f} MB peak RSS | "
          f"repainting box {pct(ft):5.2f} % cpu | window with text {tr / 1024:6.1f} MB")
qcpu = statistics.median(pct(r[0]) for r in rows)
ecpu = statistics.median(pct(r[1]) for r in rows)
fcpu = statistics.median(pct(r[4]) for r in rows)
qrss = statistics.median(r[2] for r in rows)
erss = statistics.median(r[3] for r in rows)
trss = statistics.median(r[5] for r in rows)
ratio = qrss / erss
print(f"median cpu: quendax {qcpu:.2f} % of one core, empty window {ecpu:.2f} %"
      f"  ({'within' if qcpu < 0.5 else 'ABOVE'} the 0.5 % goal)")
print(f"median cpu of a plain box repainted ten times a second: {fcpu:.2f} %"
      f" (quendax / that: {qcpu / fcpu:.2f})" if fcpu > 0 else
      "median cpu of a plain box repainted ten times a second: below the clock's resolution")
print(f"median peak RSS: quendax {qrss / 1024:.1f} MB, empty window {erss / 1024:.1f} MB, "
      f"ratio {ratio:.2f}  ({'within' if ratio <= 1.15 else 'ABOVE'} the 1.15 goal)")
print(f"median peak RSS of the window with text: {trss / 1024:.1f} MB (quendax / that: {qrss / trss:.2f})")
PY
