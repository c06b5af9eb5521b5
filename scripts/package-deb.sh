#!/usr/bin/env bash
# Builds the Debian package quendax_VERSION_ARCH.deb into build/package/ and
# prints its path. The program is built for /usr, without tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=build/package
# Debian's compiler and linker flags, hardening included.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DQX_BUILD_TESTS=OFF -DQX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target quendax quendax-install-files >&2
rm -f "$build"/quendax_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$PWD/$build"/quendax_*.deb
