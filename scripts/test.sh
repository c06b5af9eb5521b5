#!/usr/bin/env bash
# Builds Quendax with its tests and runs every test: the Linux build first,
# then the Windows programs with their tests under Wine.
#   scripts/test.sh          optimised build, then the Windows tests
#   scripts/test.sh asan     Linux build under AddressSanitizer and
#                            UndefinedBehaviorSanitizer (no Windows step)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
if [ "$preset" = release ]; then
  bash scripts/test-windows.sh
fi
