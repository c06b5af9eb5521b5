#!/bin/sh
# Runs the Windows benchmarks (cross-built, 64-bit) under Wine and prints
# their medians and ratios. Build the windows-x64 tree first:
#   cmake --preset windows-x64 && cmake --build --preset windows-x64 -j2
# Usage: bench/windows/run.sh [build directory, default build/windows-x64]
# The freeing benchmark needs about 3 GiB of memory free.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$here/../../build/windows-x64"}
build=$(cd "$build" && pwd)
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
for program in qx_win32_sampling_bench qx_win32_freeing_bench; do
  [ -f "$build/bench/windows/$program.exe" ] || { echo "build $program first" >&2; exit 1; }
done
[ -x "$wine64" ] || { echo "needs wine64 ($wine64)" >&2; exit 1; }

WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all
export WINEPREFIX WINEDEBUG
mkdir -p "$WINEPREFIX"
# A server already running for this prefix is used and left running.
if "$wineserver" -p >/dev/null 2>&1; then
  trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
fi
# Set up the prefix and Wine's background programs before timing anything.
"$wine64" wineboot --init >/dev/null 2>&1

echo "== sampling"
"$wine64" "$build/bench/windows/qx_win32_sampling_bench.exe" | tr -d '\r'
echo "== freeing"
"$wine64" "$build/bench/windows/qx_win32_freeing_bench.exe" | tr -d '\r'
