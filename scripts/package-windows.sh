#!/usr/bin/env bash
# Builds the Windows packages, 64-bit and 32-bit, into one folder (default
# dist/windows-packages) and prints their paths:
#   quendax-VERSION-win64-setup.exe   installer (NSIS) of the 64-bit program
#   quendax-VERSION-win32-setup.exe   installer of the 32-bit program
#   quendax-VERSION-win64.zip         the 64-bit program alone, to unpack anywhere
#   quendax-VERSION-win32.zip         the 32-bit program alone
# The programs are optimised and stripped; each build is in
# build/windows-package-ARCH (or BUILD_ROOT-ARCH).
#   scripts/package-windows.sh [output folder]
# QX_WINDOWS_PACKAGE_TARGET=NAME packages the target NAME as quendax.exe
# (the installer test uses qx-package-standin while quendax isn't built).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist/windows-packages}
target=${QX_WINDOWS_PACKAGE_TARGET:-quendax}
build_root=${BUILD_ROOT:-build/windows-package}
bash scripts/install-deps.sh >&2
mkdir -p "$out"
out=$(cd "$out" && pwd)

for arch in x64 x86; do
  case $arch in
    x64) triple=x86_64-w64-mingw32 system=win64 ;;
    x86) triple=i686-w64-mingw32 system=win32 ;;
  esac
  build=$build_root-$arch
  # Written again only if the build has the target to package.
  rm -f "$build/CPackConfig.cmake"
  cmake -S . -B "$build" --toolchain "cmake/toolchains/$triple.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_TESTS=OFF -DQX_BUILD_BENCH=OFF \
        -DCMAKE_EXE_LINKER_FLAGS_RELEASE=-s -DQX_WINDOWS_PACKAGE_TARGET="$target" >/dev/null
  if [ ! -f "$build/CPackConfig.cmake" ]; then
    echo "package-windows.sh: the Windows build has no target $target (set QX_WINDOWS_PACKAGE_TARGET)" >&2
    exit 1
  fi
  cmake --build "$build" -j"$(nproc)" --target "$target" >&2
  rm -f "$build"/quendax-*-"$system"*
  (cd "$build" && cpack -G "NSIS;ZIP" >&2)
  for package in "$build"/quendax-*-"$system"-setup.exe "$build"/quendax-*-"$system".zip; do
    cp "$package" "$out/"
    echo "$out/$(basename "$package")"
  done
done
