#!/usr/bin/env bash
# Draws the PNG sizes of the application icon with ImageMagick, from the same shapes as parlix.svg
# (ImageMagick on Debian reads no SVG without extra delegates). Run it after changing parlix.svg and
# commit the PNG files.
set -euo pipefail
cd "$(dirname "$0")"

shapes="viewbox 0 0 256 256
fill '#1565c0' roundrectangle 16,16 239,239 48,48
fill '#0d47a1' roundrectangle 16,128 239,239 48,48
fill '#0d47a1' rectangle 16,128 239,175
fill '#ffffff' roundrectangle 48,60 207,167 28,28
fill '#ffffff' polygon 78,160 64,208 126,160
fill '#1565c0' circle 92,114 105,114
fill '#1565c0' circle 128,114 141,114
fill '#1565c0' circle 164,114 177,114"

for size in 16 22 24 32 48 64 128 256; do
    # Drawn at 256 and scaled down, so small sizes keep their shapes smooth.
    convert -size 256x256 xc:none -draw "$shapes" -resize "${size}x${size}" -strip "PNG32:parlix-${size}.png"
done
