#!/usr/bin/env bash
# The real program over time: runs quendax under Xvfb with a notification
# area (trayer) at Normal speed (ten readout ticks a second) and prints its
# resident memory and open descriptors every 10 s. Both must stay flat: the
# script compares the median of the first three samples after the warm-up
# with the median of the last three, and fails when the resident memory grew
# by more than 2 % (and more than 256 kB) or a descriptor stayed open.
# Builds nothing.
#
# Usage: bench/soak/xvfb_watch.sh [SECONDS] [BUILD_DIR]
#   SECONDS: how long to watch (600 = 10 minutes); BUILD_DIR: build/release.
# Environment: INTERVAL (10 s between samples), WARMUP (10 s, not compared).
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-600}
build=$(cd "${2:-$root/build/release}" && pwd)
interval=${INTERVAL:-10}
warmup=${WARMUP:-10}
quendax=$build/src/platform/qt/quendax
[ -x "$quendax" ] || { echo "xvfb_watch.sh: $quendax is missing; build the release tree first" >&2; exit 2; }
. "$root/tests/desktop/xvfb_tray.sh"
if tool=$(missing_tool Xvfb trayer xdotool); then
  echo "xvfb_watch.sh: $tool is not installed" >&2; exit 2
fi

start_xvfb 141 190 1280x800x24 || { echo "xvfb_watch.sh: Xvfb did not start" >&2; exit 1; }
start_trayer || { echo "xvfb_watch.sh: trayer did not start" >&2; exit 1; }

"$quendax" >"$work/quendax.out" 2>"$work/quendax.err" &
app=$!
track "$app"
wait_for 150 xdotool search --onlyvisible --name '^Quendax$' || {
  echo "xvfb_watch.sh: the main window did not appear" >&2; cat "$work/quendax.err" >&2; exit 1; }

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$app/status"; }
descriptors() { ls "/proc/$app/fd" | wc -l; }

echo "quendax (pid $app) on $display with trayer, Normal speed; a sample every ${interval} s for ${seconds} s"
echo "seconds  RSS(kB)  descriptors"
sleep "$warmup"
: > "$work/samples"
start=$(date +%s)
while :; do
  kill -0 "$app" 2>/dev/null || { echo "xvfb_watch.sh: quendax ended by itself" >&2; exit 1; }
  elapsed=$(( $(date +%s) - start ))
  line="$elapsed $(rss_kb) $(descriptors)"
  echo "$line" >> "$work/samples"
  printf '%7d  %7d  %11d\n' $line
  [ "$elapsed" -ge "$seconds" ] && break
  sleep "$interval"
done

python3 - "$work/samples" <<'PY'
import statistics, sys
rows = [list(map(int, l.split())) for l in open(sys.argv[1])]
if len(rows) < 6:
    print("too few samples to compare; watch longer"); sys.exit(0)
first, last = rows[:3], rows[-3:]
r0 = statistics.median(r[1] for r in first); r1 = statistics.median(r[1] for r in last)
f0 = statistics.median(r[2] for r in first); f1 = statistics.median(r[2] for r in last)
grew = r1 - r0
rss_flat = grew <= max(256, r0 * 0.02)
fds_flat = f1 <= f0
print(f"resident memory: {r0:.0f} kB at the start, {r1:.0f} kB at the end "
      f"({grew:+.0f} kB, ratio {r1 / r0:.3f}) - {'flat' if rss_flat else 'GROWING'}")
print(f"open descriptors: {f0:.0f} at the start, {f1:.0f} at the end - {'flat' if fds_flat else 'GROWING'}")
sys.exit(0 if rss_flat and fds_flat else 1)
PY
