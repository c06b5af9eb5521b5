#!/usr/bin/env bash
# Builds Quendax with its tests and runs every test.
#   scripts/test.sh          optimised build
#   scripts/test.sh asan     again under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
