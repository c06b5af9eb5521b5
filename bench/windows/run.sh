#!/bin/sh
# Runs the Windows benchmarks (cross-built, 64- and 32-bit) under Wine and
# prints their medians and ratios. Build the benchmarks first:
#   cmake --preset windows-x64 && cmake --build --preset windows-x64 -j2
#   cmake --preset windows-x86 && cmake --build --preset windows-x86 -j2
# Usage: bench/windows/run.sh [build directory ...]
#   (default: build/windows-x64 and build/windows-x86, those that exist)
# The freeing benchmark needs about a quarter of physical memory and 1 GiB
# more free.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine64" ] || { echo "needs wine64 ($wine64)" >&2; exit 1; }
if [ $# -eq 0 ]; then
  for arch in x64 x86; do
    [ -d "$here/../../build/windows-$arch" ] && set -- "$@" "$here/../../build/windows-$arch"
  done
  [ $# -gt 0 ] || { echo "build build/windows-x64 or build/windows-x86 first" >&2; exit 1; }
fi

for build in "$@"; do
  build=$(cd "$build" && pwd)
  for program in qx_win32_sampling_bench qx_win32_freeing_bench; do
    [ -f "$build/bench/windows/$program.exe" ] || { echo "build $program in $build first" >&2; exit 1; }
  done
done

for build in "$@"; do
  build=$(cd "$build" && pwd)
  echo "#### $(basename "$build")"
  WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all
  export WINEPREFIX WINEDEBUG
  mkdir -p "$WINEPREFIX"
  # A server already running for this prefix is used and left running.
  own_server=
  if "$wineserver" -p >/dev/null 2>&1; then
    own_server=1
    trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
  fi
  # Set up the prefix and Wine's background programs before timing anything.
  "$wine64" wineboot --init </dev/null >/dev/null 2>&1
  echo "== sampling"
  "$wine64" "$build/bench/windows/qx_win32_sampling_bench.exe" </dev/null | tr -d '\r'
  echo "== freeing"
  "$wine64" "$build/bench/windows/qx_win32_freeing_bench.exe" ${QX_FREEING_BENCH_ARGS:-} </dev/null | tr -d '\r'
  if [ -n "$own_server" ]; then
    "$wineserver" -k >/dev/null 2>&1 || true
    trap - EXIT
  fi
done
