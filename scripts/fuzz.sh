#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given time, starting
# from the seed corpora in fuzz/corpus/. Fails when any target finds a
# crash, a sanitizer report, a leak or a hang.
#   scripts/fuzz.sh          20 s per target
#   scripts/fuzz.sh 600      a longer run: ten minutes per target
#   scripts/fuzz.sh 60 numbers sim_script    only the targets named
# New inputs are kept in build/fuzz/corpus/<target>; a finding is written to
# build/fuzz/findings/ (copy it into fuzz/corpus/<target>/ and add a test
# once it is mended).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(meminfo_parser proc_stat_parser leading_number numbers command_line registry_value sim_script)
fi

bash scripts/install-deps.sh
build=build/fuzz
cmake -S fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

mkdir -p "$build/findings"
failed=()
printf '%-18s %12s %10s %8s  %s\n' target executions per-second corpus result
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t"
  log="$build/$t.log"
  status=0
  # -timeout: one input running longer than this is a hang, and a finding.
  "$build/fuzz_$t" "$build/corpus/$t" "fuzz/corpus/$t" \
      -max_total_time="$seconds" -timeout=25 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$t-" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  units=$(ls "$build/corpus/$t" | wc -l)
  if [ "$status" -eq 0 ]; then result=ok; else result="FOUND (exit $status, see $log)"; failed+=("$t"); fi
  printf '%-18s %12s %10s %8s  %s\n' "$t" "${execs:-?}" "${rate:-?}" "$units" "$result"
done
if [ ${#failed[@]} -gt 0 ]; then
  for t in "${failed[@]}"; do
    echo "--- $t"; grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$build/$t.log" | head -n 20 || true
  done
  exit 1
fi
