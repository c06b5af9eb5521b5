#!/usr/bin/env bash
# Builds the 64-bit and 32-bit Windows programs and runs the Windows tests
# (every unit test and scenario, the backend's tests, the Win32 layer and
# the end-to-end test) with each build under Wine: the 64-bit programs and
# the 32-bit ones, which the wine64 loader runs in the same kind of (WoW64)
# prefix once the 32-bit Wine (wine32:i386) is installed.
#   scripts/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

wine64=${QX_WINE64:-/usr/lib/wine/wine64}  # QX_WINE64: another loader, e.g. to see the skip
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

if [ ! -x "$wine64" ] || [ ! -x "$wineserver" ]; then
  # The program header checks need no Wine.
  ctest --test-dir build/windows-x86 -R '^program_checks\.' --output-on-failure
  echo "Windows tests SKIPPED: $wine64 is missing (install wine64); the Windows programs were built"
  exit 0
fi

# Runs one build's tests: one prefix inside the build folder and one server
# kept running for the whole run, so each test program starts in a fraction
# of a second.
run_tests() {
  local preset=$1
  export WINEPREFIX="$PWD/build/$preset/wine-prefix" WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  # A server already running for this prefix is used and left running.
  local own_server=
  if "$wineserver" -p >/dev/null 2>&1; then own_server=1; fi
  # Set up the prefix (5-12 s the first time) and start Wine's background
  # programs now, with their output going nowhere: started by the first
  # test program instead, they would hold ctest's output pipe open until
  # the server ends.
  "$wine64" wineboot --init </dev/null >/dev/null 2>&1
  local status=0
  if [ "$preset" = windows-x86 ]; then
    # Without the 32-bit Wine none of the 32-bit programs would start; say
    # so rather than let every test fail on its own (or pass unseen).
    local probe=build/windows-x86/tests/win32/qx_win32_tests.exe
    local listed
    listed=$("$wine64" "$probe" --gtest_list_tests </dev/null 2>/dev/null) || true
    if ! grep -q '^FreeingPlan\.' <<<"$listed"; then
      echo "Windows tests FAILED: this machine can't run the 32-bit Windows programs ($wine64 $probe" \
           "doesn't start); install Debian's 32-bit Wine: bash scripts/install-deps.sh" >&2
      status=1
    fi
  fi
  if [ $status -eq 0 ]; then
    ctest --preset "$preset" -j"$jobs" || status=$?
  fi
  if [ -n "$own_server" ]; then "$wineserver" -k >/dev/null 2>&1 || true; fi
  return $status
}

status=0
run_tests windows-x64 || status=1
run_tests windows-x86 || status=1
exit $status
