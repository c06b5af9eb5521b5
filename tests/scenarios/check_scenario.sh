#!/usr/bin/env bash
# Runs one scenario through quendax-sim and compares its output with the
# expected lines written in the scenario itself:
#   #> LINE     a line the run must print, in order (the whole output must match),
#               written right after the script line that prints it
#   #exit N     the exit status the run must end with (0 when absent)
#   #stderr TEXT  a text the run's standard error must contain
# A third argument names a program to run quendax-sim with (Wine for the
# Windows build). Windows programs end their lines with CR LF; the carriage
# returns are dropped before comparing.
set -u
sim=$1
scenario=$2
runner=${3:-}

# The expectations are read with any line ending ("\n", "\r\n" or a lone
# "\r"), as quendax-sim reads the script.
lines=$(tr '\r' '\n' < "$scenario")
expected=$(sed -n 's/^#> \{0,1\}//p' <<<"$lines")
want_status=$(sed -n 's/^#exit \([0-9]*\)$/\1/p' <<<"$lines" | tail -n 1)
want_status=${want_status:-0}

errfile=$(mktemp)
trap 'rm -f "$errfile"' EXIT
command=("$sim" "$scenario")
[ -n "$runner" ] && command=("$runner" "${command[@]}")
run() {
  actual=$("${command[@]}" 2>"$errfile" | tr -d '\r'; exit "${PIPESTATUS[0]}")
  status=$?
}
run
# Under Wine a program very rarely ends at start-up, before it has run at
# all: no output, nothing on standard error, the wrong status. That run is
# made once more, and said so; anything the program itself got to print
# counts as it is.
if [ -n "$runner" ] && [ "$status" != "$want_status" ] && [ -z "$actual" ] && [ ! -s "$errfile" ] &&
   [ -n "$expected" ]; then
  echo "the first run ended with status $status before printing anything; running it again" >&2
  run
fi

fail=0
if [ "$status" != "$want_status" ]; then
  echo "exit status $status, expected $want_status"
  fail=1
fi
if [ "$actual" != "$expected" ]; then
  echo "output differs from the expected lines (- expected, + actual):"
  diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") | sed -n '/^[<>]/{s/^</-/;s/^>/+/;p}'
  fail=1
fi
while IFS= read -r want; do
  if ! grep -qF -- "$want" "$errfile"; then
    echo "standard error lacks: $want"
    fail=1
  fi
done < <(sed -n 's/^#stderr //p' <<<"$lines")
if [ "$fail" != 0 ]; then
  echo "--- standard error:"; cat "$errfile"
fi
exit $fail
