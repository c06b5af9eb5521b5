#!/bin/sh
# Builds and runs the sampling benchmark, then prints the medians and the
# ratio sample / floor (goal: at most 1.3) and the allocations per sample.
# Usage: bench/sampling/run.sh [extra benchmark flags]
# BUILD_DIR picks the build tree (default: build/release).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/release}
cmake --build "$build" --target qx_bench_sampling >/dev/null
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$build/bench/sampling/qx_bench_sampling" --benchmark_out="$out" --benchmark_out_format=json "$@"
python3 - "$out" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {r["run_name"]: r for r in runs
          if r.get("run_type") == "aggregate" and r.get("aggregate_name") == "median"}
sample, floor = median.get("BM_Sample"), median.get("BM_ReadFilesOnly")
if not sample or not floor:
    sys.exit("run.sh: missing medians (filtered out, or a benchmark failed)")
for name, r in median.items():
    allocs = r.get("allocs/call")
    extra = "" if allocs is None else f"  allocs/call {allocs:g}"
    print(f"{name:18} median real {r['real_time']:9.0f} {r['time_unit']}"
          f"  cpu {r['cpu_time']:9.0f} {r['time_unit']}{extra}")
for kind in ("real_time", "cpu_time"):
    ratio = sample[kind] / floor[kind]
    print(f"ratio sample/floor ({kind.split('_')[0]}): {ratio:.3f}"
          f"  ({'within' if ratio <= 1.3 else 'ABOVE'} the 1.3 goal)")
PY
