#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, where missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool trayer x11-utils dbus-x11 libx11-dev libxdamage-dev openbox imagemagick
  haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils
  sway grim qt6-wayland passwd dbus
  waybar jq libwayland-dev xfce4-panel xfwm4 xfconf
  at-spi2-core python3-pyatspi
  dpkg-dev lintian desktop-file-utils appstream
  nsis
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine64 wine32:i386
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
  # The 32-bit Wine, which runs the 32-bit Windows programs, comes from the
  # i386 architecture.
  if [[ " ${missing[*]} " == *" wine32:i386 "* ]] && ! grep -qx i386 <<<"$(dpkg --print-foreign-architectures)"; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  # The 32-bit Wine goes in a second step, once the 64-bit libraries it must
  # match are in place.
  first=()
  for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || first+=("$p"); done
  if [ ${#first[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${first[@]}"
  fi
  if [ ${#first[@]} -ne ${#missing[@]} ]; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends wine32:i386
  fi
fi
