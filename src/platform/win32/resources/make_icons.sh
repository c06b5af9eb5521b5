#!/bin/sh
# Builds the Windows icon files from the program's own images (the PNGs the
# Qt backend draws, src/platform/qt/icons): quendax.ico holds the application
# icon at 16, 32 and 48 pixels; warning.ico the warning icon, drawn at 16
# pixels and enlarged pixel for pixel to 32 and 48. The .ico files are kept
# in the repository; run this only when the images change. Needs ImageMagick
# (convert).
set -eu
cd "$(dirname "$0")"
im=${CONVERT:-convert}
images=../../qt/icons

"$im" "$images/app-16.png" "$images/app-32.png" "$images/app-48.png" quendax.ico
"$im" "$images/warning-16.png" \
    \( "$images/warning-16.png" -filter point -resize 32x32 \) \
    \( "$images/warning-16.png" -filter point -resize 48x48 \) \
    warning.ico
