#!/usr/bin/env bash
# Builds the Windows release programs, 64-bit and 32-bit, optimised and
# stripped, into one folder (default dist/windows):
#   quendax-x64.exe, quendax-x86.exe           the program, once its window
#                                              backend is built
#   quendax-sim-x64.exe, quendax-sim-x86.exe   the simulated-platform runner
# Each is self-contained: it imports only DLLs that come with Windows.
#   scripts/build-windows-release.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist/windows}
bash scripts/install-deps.sh
mkdir -p "$out"

for arch in x64 x86; do
  case $arch in
    x64) triple=x86_64-w64-mingw32 ;;
    x86) triple=i686-w64-mingw32 ;;
  esac
  build=build/windows-release-$arch
  cmake -S . -B "$build" --toolchain "cmake/toolchains/$triple.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_TESTS=OFF -DQX_BUILD_BENCH=OFF >/dev/null
  targets=(quendax-sim)
  if grep -q '^\.\.\. quendax$\|: quendax$' <<<"$(cmake --build "$build" --target help)"; then
    targets+=(quendax)
  fi
  cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
  for target in "${targets[@]}"; do
    exe=$(find "$build/src" -name "$target.exe" -print -quit)
    "$triple-strip" -o "$out/$target-$arch.exe" "$exe"
    echo "$out/$target-$arch.exe"
  done
done
