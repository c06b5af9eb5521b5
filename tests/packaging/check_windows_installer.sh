#!/usr/bin/env bash
# Checks the Windows packages. Both installers and both zips are built (by
# scripts/package-windows.sh) and looked at: the version record of each
# installer file, the processor each is for, the program in each zip (its
# version record, no compiler DLL). Then, under Wine, the 64-bit installer is
# run silently and checked: the program in Program Files answers --version
# with the project's version, the Start-menu shortcut and the uninstall entry
# are there, the start entry exists only when chosen (/AUTOSTART=1), stays
# when installed again and goes with /AUTOSTART=0, and the silent uninstaller
# removes the program, the shortcut, the start entry and the uninstall entry,
# but leaves a start entry of another copy alone; while the program runs, the
# installer refuses to replace it and the uninstaller removes nothing. The 32-bit installer is
# checked as a package only (the 32-bit program itself runs its tests in scripts/test-windows.sh).
#   tests/packaging/check_windows_installer.sh
# Carries quendax.exe once the Windows build has it, else the stand-in
# program of tests/packaging/windows_standin (it says which).
set -euo pipefail
cd "$(dirname "$0")/../.."

wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
for tool in makensis x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
  if ! command -v "$tool" >/dev/null; then
    echo "Windows installer check SKIPPED: $tool is missing (bash scripts/install-deps.sh)"
    exit 0
  fi
done

work=$PWD/build/windows-package-check
version=$(sed -n 's/^project(Quendax VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# The program to carry: quendax once the Windows build has it.
target=${QX_WINDOWS_PACKAGE_TARGET:-}
if [ -z "$target" ]; then
  probe=$work/build-x64
  rm -f "$probe/CPackConfig.cmake"
  cmake -S . -B "$probe" --toolchain cmake/toolchains/x86_64-w64-mingw32.cmake \
        -DCMAKE_BUILD_TYPE=Release -DQX_BUILD_TESTS=OFF -DQX_BUILD_BENCH=OFF \
        -DQX_WINDOWS_PACKAGE_TARGET=quendax >/dev/null
  if [ -f "$probe/CPackConfig.cmake" ]; then
    target=quendax
  else
    target=qx-package-standin
    echo "NOTE: the Windows build has no quendax.exe yet; the packages carry the stand-in program (tests/packaging/windows_standin)"
  fi
fi
rm -rf "$work/packages"
if ! QX_WINDOWS_PACKAGE_TARGET=$target BUILD_ROOT=$work/build \
     bash scripts/package-windows.sh "$work/packages" >"$work/package.log" 2>&1; then
  cat "$work/package.log"
  echo "FAIL: scripts/package-windows.sh failed"
  exit 1
fi

# The four packages, named by version and processor.
file_version() {  # the file version of a PE file's version record, a.b.c.d
  # The record: its key "VS_VERSION_INFO" in UTF-16 with its terminator and
  # padding (34 bytes), then VS_FIXEDFILEINFO: signature, structure
  # version, file version (high word pairs first).
  local offset
  offset=$(LC_ALL=C grep -obUaP 'V\x00S\x00_\x00V\x00E\x00R\x00S\x00I\x00O\x00N\x00_\x00I\x00N\x00F\x00O\x00\x00\x00\x00\x00\xbd\x04\xef\xfe' "$1" |
           head -n1 | cut -d: -f1)
  [ -n "$offset" ] || return 0
  od -An -tu2 -j $((offset + 34 + 8)) -N8 "$1" | awk '{print $2 "." $1 "." $4 "." $3}'
}
pe_machine() {  # the machine field of a PE file's header, in hex
  local header
  header=$(od -An -tu4 -j 60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j $((header + 4)) -N2 "$1" | tr -d ' '
}
for system in win64 win32; do
  case $system in
    win64) machine=8664 triple=x86_64-w64-mingw32 ;;
    win32) machine=014c triple=i686-w64-mingw32 ;;
  esac
  setup=$work/packages/quendax-$version-$system-setup.exe
  zip=$work/packages/quendax-$version-$system.zip
  if [ ! -f "$setup" ] || [ ! -f "$zip" ]; then
    fail "$system: package missing ($(ls "$work/packages" | tr '\n' ' '))"
    continue
  fi
  got=$(file_version "$setup")
  [ "$got" = "$version" ] && pass "$system installer file version $got" \
    || fail "$system installer file version '$got', expected $version"
  got=$(pe_machine "$setup")
  [ "$got" = "$machine" ] && pass "$system installer is for machine $got" \
    || fail "$system installer is for machine '$got', expected $machine"
  got=$(cmake -E tar tf "$zip" | LC_ALL=C sort | tr '\n' ' ')
  want="quendax-$version-$system/LICENSE.txt quendax-$version-$system/quendax.exe "
  [ "$got" = "$want" ] && pass "$system zip holds $got" || fail "$system zip holds '$got', expected $want"
  unpacked=$work/unpacked-$system
  rm -rf "$unpacked" && mkdir -p "$unpacked"
  (cd "$unpacked" && cmake -E tar xf "$zip")
  got=$(pe_machine "$unpacked/quendax-$version-$system/quendax.exe")
  [ "$got" = "$machine" ] && pass "$system zip's program is for machine $got" \
    || fail "$system zip's program is for machine '$got', expected $machine"
  got=$(file_version "$unpacked/quendax-$version-$system/quendax.exe")
  [ "$got" = "$version" ] && pass "$system program file version $got" \
    || fail "$system program file version '$got', expected $version"
  # Self-contained: no DLL of the compiler's own.
  got=$("$triple-objdump" -p "$unpacked/quendax-$version-$system/quendax.exe" |
        sed -n 's/^\s*DLL Name: //p' | grep -iE 'libstdc|libgcc|winpthread' | tr '\n' ' ' || true)
  [ -z "$got" ] && pass "$system program needs no compiler DLL" \
    || fail "$system program imports $got"
done

if [ ! -x "$wine64" ] || [ ! -x "$wineserver" ]; then
  echo "Windows installer check: the runs under Wine SKIPPED: $wine64 is missing (install wine64); the packages were built and checked"
  [ "$failures" -eq 0 ] || { echo "Windows installer check: $failures failure(s)"; exit 1; }
  exit 0
fi

# A fresh prefix of our own, one server for the run that ends 5 s after the
# last program (so "wineserver -w" can wait for the uninstaller), and every
# Wine process of this prefix ended on the way out.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all
"$wineserver" -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
"$wineserver" -p5 >/dev/null 2>&1
"$wine64" wineboot --init </dev/null >/dev/null 2>&1

wine() { "$wine64" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
reg_value() {  # KEY NAME: the value's data, empty if there is none
  wine reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" || true
}
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quendax'
dir_win='C:\Program Files\Quendax'
dir=$WINEPREFIX/drive_c/Program\ Files/Quendax
shortcut=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Quendax.lnk
setup_win="Z:$(echo "$work/packages/quendax-$version-win64-setup.exe" | tr / '\\')"
autostart="\"$dir_win\\quendax.exe\" /AUTO"

install() {
  local rc=0
  "$wine64" "$setup_win" /S "$@" </dev/null >/dev/null 2>&1 || rc=$?
  [ "$rc" -eq 0 ] && pass "installer /S${*:+ $*} ended with 0" || fail "installer /S${*:+ $*} ended with $rc"
}
uninstall() {
  local rc=0
  "$wine64" "$dir_win\\Uninstall.exe" /S </dev/null >/dev/null 2>&1 || rc=$?
  [ "$rc" -eq 0 ] && pass "uninstaller /S ended with 0" || fail "uninstaller /S ended with $rc"
  # The uninstaller runs on from a copy of itself: wait for every program.
  "$wineserver" -w
  "$wineserver" -p5 >/dev/null 2>&1
}

# icacls is replaced by a program that writes down how it was called, so
# that the rights the installer asks for can be read (Wine keeps no rights).
icacls_log=$WINEPREFIX/drive_c/icacls.log
printf '%s\n' '#include <windows.h>' '#include <stdio.h>' \
  'int main(void) { FILE* f = fopen("C:\\icacls.log", "a"); if (!f) return 1;' \
  '  fprintf(f, "%s\n", GetCommandLineA()); return fclose(f); }' > "$work/icacls.c"
x86_64-w64-mingw32-gcc-posix -O -o "$WINEPREFIX/drive_c/windows/system32/icacls.exe" "$work/icacls.c"
export WINEDLLOVERRIDES=icacls.exe=n

# Installed without the start entry (it is off unless chosen).
install
[ -f "$dir/quendax.exe" ] && pass "quendax.exe is in $dir_win" || fail "no quendax.exe in $dir_win"
[ -f "$dir/LICENSE.txt" ] && pass "LICENSE.txt is in $dir_win" || fail "no LICENSE.txt in $dir_win"
got=$(reg_value "$run_key" Quendax)
[ -z "$got" ] && pass "no start entry unless chosen" || fail "start entry '$got' without /AUTOSTART=1"

# Installed again over it, with the start entry.
install /AUTOSTART=1
got=$(reg_value "$run_key" Quendax)
[ "$got" = "$autostart" ] && pass "start entry: $got" || fail "start entry '$got', expected '$autostart'"

# Installed again without choosing: the start entry stays.
install
got=$(reg_value "$run_key" Quendax)
[ "$got" = "$autostart" ] && pass "installed again, the start entry stays" \
  || fail "installed again, the start entry became '$got'"

got=$(wine "$dir_win\\quendax.exe" --version || true)
[ "$got" = "quendax $version" ] && pass "installed quendax.exe --version: $got" \
  || fail "installed quendax.exe --version gave '$got', expected 'quendax $version'"

[ -f "$shortcut" ] && pass "Start-menu shortcut" || fail "no Start-menu shortcut at $shortcut"
if [ -f "$shortcut" ]; then
  # The shortcut starts the installed program (its texts are UTF-16).
  grep -qaF "$dir_win\\quendax.exe" <<<"$(tr -d '\0' < "$shortcut")" \
    && pass "the shortcut points at $dir_win\\quendax.exe" \
    || fail "the shortcut doesn't name $dir_win\\quendax.exe"
  # It has an icon location of its own (HasIconLocation, 0x40, among the
  # link flags): the installer gives it quendax.exe's first icon.
  flags=$(od -An -tu4 -j 20 -N4 "$shortcut" | tr -d ' ')
  [ $((flags & 0x40)) -ne 0 ] && pass "the shortcut has an icon location" \
    || fail "the shortcut has no icon location (link flags $flags)"
fi
expect_entry() {  # NAME EXPECTED
  local got
  got=$(reg_value "$uninstall_key" "$1")
  [ "$got" = "$2" ] && pass "uninstall entry $1: $got" || fail "uninstall entry $1 '$got', expected '$2'"
}
expect_entry DisplayName "Quendax (64-bit)"
expect_entry DisplayVersion "$version"
expect_entry DisplayIcon "$dir_win\\quendax.exe,0"
expect_entry UninstallString "\"$dir_win\\Uninstall.exe\""
expect_entry QuietUninstallString "\"$dir_win\\Uninstall.exe\" /S"

uninstall
[ ! -e "$dir" ] && pass "the program's folder is gone" \
  || fail "left behind in $dir_win: $(ls -A "$dir" | tr '\n' ' ')"
[ ! -e "$shortcut" ] && pass "the shortcut is gone" || fail "the shortcut is still there"
got=$(reg_value "$run_key" Quendax)
[ -z "$got" ] && pass "the start entry is gone" || fail "the start entry is still there: '$got'"
if "$wine64" reg query "$uninstall_key" </dev/null >/dev/null 2>&1; then
  fail "the uninstall entry is still there"
else
  pass "the uninstall entry is gone"
fi

# While Quendax runs, the installer doesn't replace it and the uninstaller
# removes nothing. The uninstaller runs on from a
# copy of itself, so it gets 5 s before the program is ended; had it removed
# anything, before or after, the checks below see it.
install /AUTOSTART=1
"$wine64" "$dir_win\\quendax.exe" /AUTO </dev/null >/dev/null 2>&1 &
running=$!
sleep 3
if kill -0 "$running" 2>/dev/null; then
  rc=0
  "$wine64" "$setup_win" /S </dev/null >/dev/null 2>&1 || rc=$?
  [ "$rc" -ne 0 ] && pass "installer refused to replace a running quendax.exe ($rc)" \
    || fail "installer ended with 0 while quendax.exe runs"
  "$wine64" "$dir_win\\Uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
  sleep 5
  "$wine64" taskkill /F /IM quendax.exe </dev/null >/dev/null 2>&1 || true
  wait "$running" || true
  "$wineserver" -w
  "$wineserver" -p5 >/dev/null 2>&1
  [ -f "$dir/quendax.exe" ] && [ -f "$dir/Uninstall.exe" ] && [ -f "$shortcut" ] && \
    [ "$(reg_value "$run_key" Quendax)" = "$autostart" ] && \
    [ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] \
    && pass "program, shortcut, start entry and uninstall entry kept while it runs" \
    || fail "the uninstaller removed parts of a running Quendax"
else
  wait "$running" || true
  echo "NOTE: quendax.exe /AUTO didn't keep running here; the uninstaller's running check is skipped"
fi

# Turned off again with /AUTOSTART=0.
install /AUTOSTART=1
install /AUTOSTART=0
got=$(reg_value "$run_key" Quendax)
[ -z "$got" ] && pass "/AUTOSTART=0 removes the start entry" || fail "/AUTOSTART=0 left '$got'"
[ -f "$dir/quendax.exe" ] && pass "quendax.exe stays" || fail "quendax.exe is gone after /AUTOSTART=0"

# A start entry of another copy of Quendax survives this copy's uninstaller.
other='C:\Tools\quendax.exe /AUTO'
wine reg add "$run_key" /v Quendax /t REG_SZ /d "$other" /f >/dev/null
uninstall
got=$(reg_value "$run_key" Quendax)
[ "$got" = "$other" ] && pass "another copy's start entry is kept" \
  || fail "another copy's start entry became '$got', expected '$other'"
[ ! -e "$dir" ] && pass "the program's folder is gone again" || fail "left behind in $dir_win"

# Inside Program Files the folder keeps the rights it inherits.
[ ! -s "$icacls_log" ] && pass "no rights set inside Program Files" \
  || fail "rights set inside Program Files: $(cat "$icacls_log")"

# Never into a folder holding another program's files: nothing there changes.
other_dir=$WINEPREFIX/drive_c/Other
mkdir -p "$other_dir" && echo "another program" > "$other_dir/Uninstall.exe"
rc=0
"$wine64" "$setup_win" /S '/D=C:\Other' </dev/null >/dev/null 2>&1 || rc=$?
[ "$rc" -ne 0 ] && [ "$(cat "$other_dir/Uninstall.exe")" = "another program" ] &&
  [ "$(ls -A "$other_dir")" = Uninstall.exe ] \
  && pass "refused a folder holding other files ($rc), nothing there changed" \
  || fail "installed into a folder holding other files ($rc): $(ls -A "$other_dir" | tr '\n' ' ')"

# A folder made outside Program Files gets Program Files' rights, before
# anything is put into it.
install '/D=C:\Tools\Quendax'
want='"C:\windows\system32\icacls.exe" "C:\Tools\Quendax" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX'
got=$(tr -d '\r' 2>/dev/null < "$icacls_log" || true)
[ "$got" = "$want" ] && pass "rights of a new folder outside Program Files: $got" \
  || fail "rights of C:\Tools\Quendax: '$got', expected '$want'"
"$wine64" 'C:\Tools\Quendax\Uninstall.exe' /S </dev/null >/dev/null 2>&1 || true
"$wineserver" -w
"$wineserver" -p5 >/dev/null 2>&1

"$wineserver" -k >/dev/null 2>&1 || true
if [ "$failures" -ne 0 ]; then
  echo "Windows installer check: $failures failure(s)"
  exit 1
fi
echo "Windows installer check: all passed (carrying $target)"
