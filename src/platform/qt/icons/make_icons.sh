#!/bin/sh
# Draws the program's icons: the application icon (a memory chip holding a
# green bar chart) at 16, 32 and 48 pixels, each drawn for its own size so the
# small one stays sharp, and the 16-pixel warning icon (an amber triangle with
# a dark red exclamation mark). The PNGs are kept in the repository; run this
# only to change them. Needs ImageMagick 6 (convert).
set -eu
cd "$(dirname "$0")"
im=${CONVERT:-/usr/bin/convert}

body=#123a12      # chip body
edge=#0a240a      # its outline
pin=#9aa59a       # the chip's legs
bar=#39d439       # chart bars
barEdge=#1d8a1d

# chip SIZE BODY_INSET PIN_LENGTH PIN_STEP PIN_WIDTH BAR_OUTLINE "BARS..." OUTFILE
# BARS are x0,y0,x1,y1 rectangles inside the body; BAR_OUTLINE is a colour
# or "none" (the 16-pixel bars are too thin for an outline).
chip() {
    size=$1 inset=$2 pinlen=$3 step=$4 pinw=$5 barline=$6 bars=$7 out=$8
    last=$((size - 1 - inset))
    draw="fill $pin stroke none"
    y=$((inset + step / 2 + 1))
    while [ $((y + pinw)) -le $((last - 1)) ]; do
        draw="$draw rectangle $((inset - pinlen)),$y $((inset - 1)),$((y + pinw - 1))"
        draw="$draw rectangle $((last + 1)),$y $((last + pinlen)),$((y + pinw - 1))"
        y=$((y + step))
    done
    draw="$draw fill $body stroke $edge stroke-width 1 rectangle $inset,$inset $last,$last"
    draw="$draw fill $bar stroke $barline"
    for r in $bars; do
        draw="$draw rectangle $(echo "$r" | sed 's/,/ /g' | awk '{print $1","$2" "$3","$4}')"
    done
    "$im" -size "${size}x${size}" xc:none +antialias -draw "$draw" -define png:color-type=6 "$out"
}

chip 16 3 2 3 1 none "5,9,6,12 8,7,9,12 11,5,12,12" app-16.png
chip 32 6 4 5 2 $barEdge "10,19,13,25 15,14,18,25 20,10,23,25" app-32.png
chip 48 9 6 7 3 $barEdge "14,28,19,38 22,21,27,38 30,14,35,38" app-48.png

# The warning icon: triangle, then the mark (a bar and a dot).
"$im" -size 16x16 xc:none +antialias -draw "
    fill #f2a516 stroke #7a3d00 stroke-width 1 polygon 7,1 8,1 15,14 15,15 0,15 0,14
    fill #b3120f stroke none rectangle 7,5 8,10 rectangle 7,12 8,13
" -define png:color-type=6 warning-16.png
