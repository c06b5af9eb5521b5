#!/usr/bin/env bash
# Builds Quendax and starts it. Arguments go to the program ("/AUTO", "/QUIT").
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target quendax
exec ./build/release/src/platform/qt/quendax "$@"
