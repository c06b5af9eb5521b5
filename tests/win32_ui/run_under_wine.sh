#!/bin/bash
# Builds the Win32 toolkit layer's tests with MinGW (64-bit and 32-bit) and
# runs them under Wine on a private Xvfb display. Everything started here
# (Xvfb, the wineserver) is ended here, whatever the outcome.
#
#   bash tests/win32_ui/run_under_wine.sh [BUILD_DIR]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win32-ui}
mkdir -p "$build"

configure_and_build() {  # arch compiler-prefix
    local dir=$build/$1
    cmake -S "$root/tests/win32_ui" -B "$dir" -DCMAKE_SYSTEM_NAME=Windows \
        -DCMAKE_CXX_COMPILER="$2-g++-posix" -DCMAKE_C_COMPILER="$2-gcc-posix" -DCMAKE_BUILD_TYPE=Release >"$dir.configure.log" 2>&1 || {
        cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j2 --target win32_ui_tests
}

configure_and_build x64 x86_64-w64-mingw32 || exit 1
configure_and_build x86 i686-w64-mingw32 || exit 1

wine=${WINE64:-/usr/lib/wine/wine64}
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:$((90 + RANDOM % 400))
Xvfb "$display" -nolisten tcp -noreset -screen 0 1024x768x24 </dev/null >"$build/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
    DISPLAY=$display /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1

# Passed only with a zero exit status and GoogleTest's own summary: a
# program that crashes inside Wine may still end with status 0.
run_tests() {  # arch
    "$wine" "$build/$1/win32_ui_tests.exe" </dev/null >"$build/$1.log" 2>&1
    local rc=$?
    tail -n 3 "$build/$1.log"
    [ $rc -eq 0 ] && grep -q '^\[  PASSED  \]' "$build/$1.log" && ! grep -q '^\[  FAILED  \]' "$build/$1.log"
}

status=0
run_tests x64 || status=1
# A 32-bit program needs Wine's 32-bit half, which not every Wine has.
if "$wine" "$build/x86/win32_ui_tests.exe" --gtest_list_tests </dev/null 2>/dev/null | grep -q '^FormWindowTest\.'; then
    run_tests x86 || status=1
else
    echo "32-bit build compiled and linked; this Wine can't run 32-bit programs"
fi
[ $status -eq 0 ] || { echo "FAILED: see $build/x64.log and $build/x86.log"; grep -h "Failure\|FAILED" "$build"/x*.log | head -40; }
exit $status
