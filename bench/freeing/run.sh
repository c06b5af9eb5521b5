#!/bin/sh
# Runs the freeing benchmark and prints the medians and their ratios.
# Usage: bench/freeing/run.sh [--cold] [build directory, default build/release]
# --cold times first touches too (see freeing_bench.cpp).
# Needs about 9 GiB of memory free at the peak (or the program's block, a
# quarter of physical memory, if more) and takes a few minutes.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cold=0
if [ "${1:-}" = --cold ]; then cold=1; shift; fi
build=${1:-"$here/../../build/release"}
binary="$build/bench/freeing/qx_freeing_bench"
[ -x "$binary" ] || { echo "build qx_freeing_bench first: $binary" >&2; exit 1; }

json=$(mktemp)
trap 'rm -f "$json"' EXIT
# Repetitions interleaved at random, so a noisy moment of a shared machine
# doesn't land on one contender only.
QX_FREEING_COLD=$cold "$binary" --benchmark_enable_random_interleaving=true \
    --benchmark_out="$json" --benchmark_out_format=json >&2

python3 - "$json" <<'PYTHON'
import json, sys
rows = json.load(open(sys.argv[1]))["benchmarks"]
median = {}
for row in rows:
    if row.get("aggregate_name") == "median" and "GB/s" in row:
        median[row["run_name"]] = row["GB/s"]
def rate(kind, size):
    prefix = f"{kind}/GiB:{size}/"
    return next((v for k, v in median.items() if k.startswith(prefix)), None)
print()
print("medians, GB/s       Run    Floor   String   Rewrite  AllCores"
      "   Run time/Floor's  Run/String  Run/Rewrite")
for size in (1, 4, 0):
    run, floor, string, rewrite, cores = (
        rate(k, size) for k in ("Run", "Floor", "String", "Rewrite", "RewriteAllCores"))
    name = f"{size} GiB" if size else "program's"
    if None in (run, floor, string, rewrite):
        print(f"{name}: missing results (skipped for want of memory?)")
        continue
    print(f"{name:12s}     {run:7.2f}  {floor:7.2f}  {string:7.2f}  {rewrite:7.2f}  {cores or 0:7.2f}"
          f"   {floor / run:15.2f}x  {run / string:9.1f}x  {run / rewrite:10.2f}")
print("goals: Run time at most 1.25x the floor's (warm host); Run at least 5x String")
PYTHON
