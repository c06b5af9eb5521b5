#!/usr/bin/env bash
# Builds the 64-bit and 32-bit Windows programs and runs the Windows tests
# (every unit test and scenario, and the backend's tests) with the 64-bit
# build under Wine. The 32-bit build is compiled and linked only: these
# machines can't execute 32-bit code.
#   scripts/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
  echo "Windows tests SKIPPED: the MinGW-w64 cross compilers are missing (bash scripts/install-deps.sh)"
  exit 0
fi

jobs=$(nproc)
for preset in windows-x64 windows-x86; do
  cmake --preset "$preset" >/dev/null
done
cmake --build --preset windows-x64 -j"$jobs"
cmake --build --preset windows-x86 -j"$jobs"
# Only the program headers of the 32-bit build are checked.
ctest --test-dir build/windows-x86 --output-on-failure

if [ ! -x "$wine64" ] || [ ! -x "$wineserver" ]; then
  echo "Windows tests SKIPPED: $wine64 is missing (install wine64); the Windows programs were built"
  exit 0
fi

# One prefix inside the build folder and one server kept running for the
# whole run, so each test program starts in a fraction of a second.
export WINEPREFIX="$PWD/build/windows-x64/wine-prefix" WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
# A server already running for this prefix is used and left running.
if "$wineserver" -p >/dev/null 2>&1; then
  trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
fi
# Set up the prefix (5-12 s the first time) and start Wine's background
# programs now, with their output going nowhere: started by the first test
# program instead, they would hold ctest's output pipe open until the
# server ends.
"$wine64" wineboot --init >/dev/null 2>&1
ctest --preset windows-x64 -j"$jobs"
