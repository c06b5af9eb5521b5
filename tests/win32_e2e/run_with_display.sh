#!/usr/bin/env bash
# Runs a Windows GoogleTest program under Wine on a private Xvfb display,
# with a Wine prefix of its own; everything started here is ended here.
# Passed only with status 0 and GoogleTest's own summary. Exit status 77
# (skipped) with the reason when Wine or Xvfb is missing.
#
#   run_with_display.sh WINE64 PROGRAM_EXE WORK_DIR
set -u
wine=$1 program=$2 work=$3
wineserver=$(dirname "$wine")/wineserver
[ -x "$wine" ] && [ -x "$wineserver" ] || { echo "SKIPPED: $wine is missing (Debian package wine64)"; exit 77; }
command -v Xvfb >/dev/null 2>&1 || { echo "SKIPPED: Xvfb is not installed (Debian package xvfb)"; exit 77; }
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for n in $(seq 262 320); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }; done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset </dev/null >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
  "$wineserver" -k </dev/null >/dev/null 2>&1
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init </dev/null >"$work/wineboot.log" 2>&1
"$wine" "$program" </dev/null >"$work/test.log" 2>&1
status=$?
tr -d '\r' <"$work/test.log" | grep -E '^\[ +(OK|FAILED|PASSED) +\]|Failure|Expected|Which is|actual' 
[ $status -eq 0 ] && grep -q '^\[  PASSED  \]' "$work/test.log" && ! grep -q '^\[  FAILED  \]' "$work/test.log"
