#!/usr/bin/env bash
# Draws the icons of the dialogs' pop-up buttons: contrast.png (resource 143), a disc half dark
# and half light, and timegain.png (resource 144), a radar trace whose swing grows with depth
# under a rising gain curve. Needs ImageMagick; the PNGs are committed, so builds do not run this.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 32x32 xc:none \
    -fill '#f4f4f4' -stroke '#202020' -strokewidth 2 -draw 'circle 16,16 16,3' \
    -fill '#202020' -stroke none -draw 'path "M 16,4 A 12,12 0 0,0 16,28 Z"' \
    -depth 8 -strip PNG32:contrast.png
convert -size 32x32 xc:none \
    -fill none -stroke '#2d5a7b' -strokewidth 1 -draw 'line 16,3 16,29' \
    -stroke '#202020' -strokewidth 2 \
    -draw 'polyline 16,3 18,6 14,9 20,12 12,16 23,20 9,24 26,28' \
    -stroke '#c03020' -strokewidth 2 -draw 'bezier 3,29 12,27 22,18 29,3' \
    -depth 8 -strip PNG32:timegain.png
