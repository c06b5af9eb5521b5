#!/usr/bin/env bash
# Checks a built Debian package of Quendax:
#   tests/packaging/check_deb.sh build/package/quendax_VERSION_ARCH.deb
# lintian finds no errors (warnings are printed); the control fields are
# right and the dependencies were computed; the files a desktop needs are
# there; the desktop entries and the AppStream file validate; and the
# program, unpacked into a temporary folder, runs from there.
set -euo pipefail
deb=${1:?usage: check_deb.sh PACKAGE.deb}
[ -f "$deb" ] || { echo "no such package: $deb" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

field() { dpkg-deb -f "$deb" "$1"; }
# Output is read in full before it is searched: under pipefail, "cmd | grep -q"
# fails whenever grep stops reading before cmd has written everything.
version=$(field Version)

# Control fields.
[ "$(field Package)" = quendax ] && pass "package name" || fail "Package is '$(field Package)'"
[ "$(field Section)" = utils ] && pass "section" || fail "Section is '$(field Section)'"
[[ "$version" =~ ^[0-9]+(\.[0-9]+)+$ ]] && pass "version $version" || fail "Version is '$version'"
# dpkg-shlibdeps names the libraries the program was linked with.
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libqt6core6; do
  [[ "$depends" == *"$lib "* || "$depends" == *"$lib," || "$depends" == *"$lib" ]] \
    && pass "depends on $lib" || fail "Depends lacks $lib: $depends"
done
[[ "$(field Recommends)" == *qt6-wayland* ]] && pass "recommends qt6-wayland" || fail "Recommends lacks qt6-wayland"
grep -q "swap" <<<"$(field Description)" && pass "description tells what freeing does" \
  || fail "description does not tell what freeing does"

# lintian: no errors; everything else it says is shown.
lintian_status=0
lintian_out=$(lintian --fail-on error "$deb" 2>&1) || lintian_status=$?
lintian_out=$(grep -v "running with root privileges" <<<"$lintian_out" || true)
[ "$lintian_status" -eq 0 ] && pass "lintian: no errors" || fail "lintian errors (status $lintian_status)"
[ -z "$lintian_out" ] || printf 'lintian says:\n%s\n' "$lintian_out"

# The installed files.
usr=$root/usr
for f in bin/quendax share/applications/quendax.desktop share/man/man1/quendax.1.gz \
         share/quendax/quendax-autostart.desktop share/doc/quendax/copyright share/doc/quendax/changelog.gz; do
  [ -f "$usr/$f" ] && pass "/usr/$f" || fail "missing /usr/$f"
done
png_size() {  # width x height from the PNG header
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ' | sed 's/^ //')
  set -- $bytes
  echo "$(( ($1 << 24) | ($2 << 16) | ($3 << 8) | $4 ))x$(( ($5 << 24) | ($6 << 16) | ($7 << 8) | $8 ))"
}
for s in 16 22 24 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${s}x${s}/apps/quendax.png
  if [ -f "$icon" ] && [ "$(png_size "$icon")" = "${s}x${s}" ]; then pass "icon ${s}x${s}"
  else fail "icon ${s}x${s} missing or of another size"; fi
done
manual=$(gzip -t "$usr/share/man/man1/quendax.1.gz" && zcat "$usr/share/man/man1/quendax.1.gz") || manual=
grep -q '^\.TH QUENDAX 1' <<<"$manual" && pass "manual page" || fail "manual page unreadable"
grep -q "/usr/share/quendax/quendax" <<<"$manual" \
  && pass "manual page names the autostart entry's place" || fail "manual page names another place"
[ -z "$(find "$root" -path "$root/etc*" -print -quit)" ] && pass "nothing under /etc" || fail "files under /etc"

# Desktop entries and AppStream metadata.
for entry in "$usr/share/applications/quendax.desktop" "$usr/share/quendax/quendax-autostart.desktop"; do
  desktop-file-validate "$entry" && pass "valid ${entry#"$root"}" || fail "desktop-file-validate ${entry#"$root"}"
done
grep -qx 'Exec=quendax' "$usr/share/applications/quendax.desktop" && pass "Exec=quendax" || fail "Exec line"
grep -qx 'Exec=quendax /QUIT' "$usr/share/applications/quendax.desktop" && pass "action runs quendax /QUIT" \
  || fail "no action running quendax /QUIT"
grep -qx 'Exec=quendax /AUTO' "$usr/share/quendax/quendax-autostart.desktop" && pass "autostart runs quendax /AUTO" \
  || fail "autostart entry does not run quendax /AUTO"
metainfo=$(find "$usr/share/metainfo" -name '*.metainfo.xml' | head -n1)
if [ -n "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" >/dev/null && pass "valid ${metainfo#"$root"}" \
    || { appstreamcli validate --no-net "$metainfo" || true; fail "appstreamcli validate ${metainfo#"$root"}"; }
  grep -q "<release version=\"$version\"" "$metainfo" && pass "AppStream release $version" || fail "AppStream release"
  grep -q '<launchable type="desktop-id">quendax.desktop</launchable>' "$metainfo" \
    && pass "AppStream launches quendax.desktop" || fail "AppStream launchable"
else
  fail "no AppStream file in /usr/share/metainfo"
fi

# The program from the unpacked package: no search path into a build tree,
# and it answers without a display.
dynamic=$(readelf -d "$usr/bin/quendax")
if grep -qE 'R(UN)?PATH' <<<"$dynamic"; then fail "quendax carries an RPATH"; else pass "no RPATH"; fi
needed=$(sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' <<<"$dynamic")
if ! grep -q '^libQt6Widgets' <<<"$needed"; then fail "could not read the libraries quendax needs: $needed"
elif grep -qiE 'gtest|gmock|benchmark|Qt6Test|asan|ubsan' <<<"$needed"; then fail "quendax needs a test library: $needed"
else pass "no test libraries needed"; fi
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/quendax" --version) \
  && [ "$out" = "quendax $version" ] && pass "unpacked quendax --version: $out" || fail "unpacked quendax --version: '$out'"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/quendax" --help) || help=
grep -q '^Usage: quendax' <<<"$help" \
  && pass "unpacked quendax --help" || fail "unpacked quendax --help"

if [ "$failures" -gt 0 ]; then echo "$failures check(s) failed" >&2; exit 1; fi
echo "all package checks passed"
