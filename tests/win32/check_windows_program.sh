#!/usr/bin/env bash
# Checks a cross-built Windows program's header: it imports only DLLs that
# come with Windows, has the expected subsystem, and (for 32-bit programs)
# is large-address-aware.
#   check_windows_program.sh OBJDUMP PROGRAM.exe console|gui [large-address-aware]
set -u
objdump=$1 program=$2 subsystem=$3 laa=${4:-}
header=$("$objdump" -p "$program") || { echo "can't read $program"; exit 1; }
fail=0

# The DLLs of Windows itself that the programs may use.
system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|shlwapi|version|msvcrt|ntdll|uxtheme|dwmapi|psapi|ws2_32|bcrypt|imm32|winmm|shcore|api-ms-win-.*)\.dll$'
while read -r dll; do
  if ! printf '%s\n' "$dll" | tr '[:upper:]' '[:lower:]' | grep -Eq "$system_dlls"; then
    echo "$program imports $dll, which doesn't come with Windows"
    fail=1
  fi
done < <(printf '%s\n' "$header" | sed -n 's/^\s*DLL Name: //p')

case $subsystem in
  console) want='(Windows CUI)' ;;
  gui) want='(Windows GUI)' ;;
esac
if ! printf '%s\n' "$header" | grep -q "^Subsystem.*$want"; then
  echo "$program is not a $subsystem program: $(printf '%s\n' "$header" | grep '^Subsystem')"
  fail=1
fi
if [ "$laa" = large-address-aware ] && ! printf '%s\n' "$header" | grep -qi 'large address aware'; then
  echo "$program is not large-address-aware"
  fail=1
fi
exit $fail
