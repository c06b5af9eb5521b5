#!/bin/sh
# Runs the graph benchmark and prints the medians and the ratio of one paint
# to the floor of drawing only its two polylines (goal: at most 1.5).
# Usage: bench/graph/run.sh [build directory, default build/release]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/release}
cmake --build "$build" --target qx_bench_graph >/dev/null
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$build/bench/graph/qx_bench_graph" --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
  --benchmark_out="$out" --benchmark_out_format=json >/dev/null
python3 - "$out" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {r["run_name"]: r for r in runs if r.get("aggregate_name") == "median"}
for width in (200, 2000):
    paint, floor = med[f"BM_Paint/{width}"], med[f"BM_PolylinesOnly/{width}"]
    ratio = paint["cpu_time"] / floor["cpu_time"]
    print(f"plot {width:4} px ({paint['points']:.0f} points): paint {paint['cpu_time']:7.1f} us, "
          f"polylines only {floor['cpu_time']:7.1f} us, ratio {ratio:.2f} "
          f"({'within' if ratio <= 1.5 else 'ABOVE'} the 1.5 goal)")
PY
