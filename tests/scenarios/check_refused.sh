#!/usr/bin/env bash
# Runs quendax-sim on an input it must refuse cleanly: exit status 2 and
# TEXT on standard error (never an abort).
#   check_refused.sh SIM INPUT TEXT [RUNNER]
set -u
err=$(${4:+"$4"} "$1" "$2" 2>&1 >/dev/null)
status=$?
if [ "$status" != 2 ] || ! grep -qF -- "$3" <<<"$err"; then
  echo "exit status $status (expected 2); standard error: $err"
  exit 1
fi
