#!/bin/sh
# The long soak: a million readout ticks of the whole program on the
# simulated platform, with seeded random figures, commands, keys, clicks,
# tray codes, resizes, density changes, message-box holds and failing
# operations, every invariant checked after every step. Prints the ticks per
# second and the heap in use and resident memory at ten checkpoints after a
# tenth of warm-up; a failing seed leaves quendax-soak-SEED.scn for
# quendax-sim in the replay folder. Builds nothing.
#
# Usage: bench/soak/run.sh [BUILD_DIR]     (default: build/release)
# Environment: TICKS (1000000), SEED (1), SEEDS (1: how many seeds from SEED),
#   REPLAY_DIR (the current folder).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
soak=$build/tests/soak/quendax-soak
[ -x "$soak" ] || { echo "run.sh: $soak is missing; build the release tree first" >&2; exit 2; }
exec "$soak" --seed "${SEED:-1}" --seeds "${SEEDS:-1}" --ticks "${TICKS:-1000000}" \
    --replay-dir "${REPLAY_DIR:-.}"
