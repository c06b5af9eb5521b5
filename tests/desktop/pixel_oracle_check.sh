# The pixel oracle in an end-to-end script: sourced by a bash script that
# has set `work` (its folder) and `description` (the file the program keeps
# with --describe-window) and defined `fail`. It gives
#   check WHAT PATTERN   takes pictures of the screen (ImageMagick `import`)
#                        until one is taken while the description stays the
#                        same and has a line matching PATTERN, then holds it
#                        against the description (pixel_oracle.py); fails
#                        with what differs. QX_ORACLE_KEEP=DIR keeps the
#                        last picture and description there.
pixel_oracle=$(dirname "${BASH_SOURCE[0]}")/pixel_oracle.py
check() {  # what pattern
  local try verdict=
  for try in $(seq 30); do
    sleep 0.3
    cp "$description" "$work/before.txt" 2>/dev/null || continue
    grep -q "$2" "$work/before.txt" || continue
    import -window root -depth 8 "$work/screen.ppm" 2>/dev/null || continue
    cmp -s "$description" "$work/before.txt" || continue
    verdict=$(python3 "$pixel_oracle" "$work/before.txt" "$work/screen.ppm") && { echo "$1: $verdict"; return 0; }
  done
  echo "$verdict"
  [ -n "${QX_ORACLE_KEEP:-}" ] && cp "$work/screen.ppm" "$work/before.txt" "$QX_ORACLE_KEEP"
  fail "$1: the window does not show what its model says"
}
