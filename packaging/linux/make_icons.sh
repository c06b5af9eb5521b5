#!/bin/sh
# Draws the application icon for the desktop's icon theme (hicolor) at 16,
# 22, 24, 32, 48, 64, 128 and 256 pixels into icons/quendax-SIZE.png. The 16,
# 32 and 48 pixel icons are the program's own (src/platform/qt/icons); the
# others are drawn from the same chip: 22 and 24 from the 32-pixel layout,
# 64, 128 and 256 from the 48-pixel one, scaled. The PNGs are kept in the
# repository; run this only to change them. Needs ImageMagick 6 (convert).
set -eu
cd "$(dirname "$0")"
im=${CONVERT:-/usr/bin/convert}
own=../../src/platform/qt/icons

body=#123a12      # chip body, as in $own/make_icons.sh
edge=#0a240a
pin=#9aa59a
bar=#39d439
barEdge=#1d8a1d

# chip LAYOUT_SIZE OUT_SIZE BODY_INSET PIN_LENGTH PIN_STEP PIN_WIDTH "BARS..." OUTFILE
# The layout is given in pixels of LAYOUT_SIZE and drawn scaled to OUT_SIZE.
chip() {
    layout=$1 size=$2 inset=$3 pinlen=$4 step=$5 pinw=$6 bars=$7 out=$8
    last=$((layout - 1 - inset))
    scale=$(awk "BEGIN { print $size / $layout }")
    draw="scale $scale,$scale fill $pin stroke none"
    y=$((inset + step / 2 + 1))
    while [ $((y + pinw)) -le $((last - 1)) ]; do
        draw="$draw rectangle $((inset - pinlen)),$y $((inset - 1 + 1)),$((y + pinw))"
        draw="$draw rectangle $((last + 1)),$y $((last + pinlen + 1)),$((y + pinw))"
        y=$((y + step))
    done
    # Rectangles cover [x0, x1 + 1) so that the scaled edges meet the pixels'.
    draw="$draw fill $body stroke $edge stroke-width 1"
    draw="$draw rectangle $((inset)).5,$((inset)).5 $((last)).5,$((last)).5"
    draw="$draw fill $bar stroke $barEdge"
    for r in $bars; do
        draw="$draw rectangle $(echo "$r" | awk -F, '{print $1".5,"$2".5 "$3".5,"$4".5"}')"
    done
    # Below the layout's size, edges snap to whole pixels to stay sharp.
    if [ "$size" -lt "$layout" ]; then aa=+antialias; else aa=-antialias; fi
    "$im" -size "${size}x${size}" xc:none $aa -draw "$draw" -define png:color-type=6 -depth 8 \
        +set date:create +set date:modify -strip "$out"
}

for s in 16 32 48; do cp "$own/app-$s.png" "icons/quendax-$s.png"; done
for s in 22 24; do
    chip 32 "$s" 6 4 5 2 "10,19,13,25 15,14,18,25 20,10,23,25" "icons/quendax-$s.png"
done
for s in 64 128 256; do
    chip 48 "$s" 9 6 7 3 "14,28,19,38 22,21,27,38 30,14,35,38" "icons/quendax-$s.png"
done
