#!/bin/sh
# Does the window go on painting during a freeing run? Under Xvfb, starts
# `quendax /QUIT` (one run on a block of a quarter of physical memory, then
# the four-second countdown and the end) and, every 100 ms, covers a strip
# of the window with another window, uncovers it, and times how long until
# the window has painted the strip again (qx_repaint_probe, XGetImage).
# Prints per round the run's duration (while the workers live), the longest
# and the median repaint during the run, and the median while idle after it
# (the baseline of the same round), then the medians over the rounds.
#
# Usage: bench/freeing/repaint.sh [BUILD_DIR]   (default: build/release)
# Environment: ROUNDS (3).
# Needs a block of at least 2 GiB (a machine of 8 GiB or more) and that
# much memory free. Goal: the longest repaint during a run under 250 ms
# however long the run takes (an idle window: under 20 ms).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
quendax=$build/src/platform/qt/quendax
probe=$build/bench/freeing/qx_repaint_probe
for program in "$quendax" "$probe"; do
    [ -x "$program" ] || { echo "repaint.sh: $program is missing; build the release tree first" >&2; exit 2; }
done
command -v Xvfb >/dev/null 2>&1 || { echo "repaint.sh: Xvfb is needed" >&2; exit 2; }
rounds=${ROUNDS:-3}
total_kb=$(awk '/^MemTotal:/ {print $2}' /proc/meminfo)
block_mib=$((total_kb / 1024 / 8 * 2))
if [ "$block_mib" -lt 2048 ]; then
    echo "repaint.sh: the block here would be $block_mib MiB; at least 2048 MiB are needed" >&2
    exit 2
fi

. "$root/tests/desktop/xvfb_tray.sh"
start_xvfb 40 59 1280x1024x24 || { echo "repaint.sh: Xvfb did not start" >&2; exit 1; }

echo "block: $block_mib MiB; $rounds round(s)"
round=1
while [ "$round" -le "$rounds" ]; do
    "$quendax" /QUIT >"$work/quendax.$round.log" 2>&1 &
    quendax_pid=$!
    track "$quendax_pid"
    "$probe" Quendax "$quendax_pid" >"$work/probe.$round" 2>"$work/probe.$round.err" || {
        cat "$work/probe.$round.err" >&2; exit 1; }
    wait "$quendax_pid" || true
    untrack "$quendax_pid"
    round=$((round + 1))
done

python3 - "$work" "$rounds" <<'PYTHON'
import statistics, sys
work, rounds = sys.argv[1], int(sys.argv[2])
summary = []
print("round   run (s)   longest during run (ms)   median during run (ms)   median idle (ms)   longest/idle")
for r in range(1, rounds + 1):
    probes = [tuple(map(float, line.split())) for line in open(f"{work}/probe.{r}") if line.strip()]
    busy = [p for p in probes if p[2] == 1]
    if not busy:
        print(f"{r:5d}   no probe saw the run (block refused? see quendax.{r}.log)")
        continue
    first, last = busy[0][0], busy[-1][0] + 100
    during = [p[1] for p in busy]
    idle = [p[1] for p in probes if p[0] > last + 200]
    idle_median = statistics.median(idle) if idle else float("nan")
    row = ((last - first) / 1000, max(during), statistics.median(during), idle_median)
    summary.append(row)
    print(f"{r:5d}   {row[0]:7.2f}   {row[1]:23.1f}   {row[2]:22.1f}   {row[3]:16.1f}   {row[1] / row[3]:11.1f}x")
if summary:
    med = [statistics.median(column) for column in zip(*summary)]
    print(f"median  {med[0]:7.2f}   {med[1]:23.1f}   {med[2]:22.1f}   {med[3]:16.1f}   {med[1] / med[3]:11.1f}x")
    print("goal: longest during a run under 250 ms")
PYTHON
