#!/usr/bin/env bash
# Draws res/icon.png, the main window's icon (resource 128): a radar section's diffraction
# hyperbola over a survey grid. Needs ImageMagick; the PNG is committed, so builds do not run this.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 48x48 xc:none \
    -fill '#16324f' -stroke '#0b1a2a' -strokewidth 1 -draw 'roundrectangle 1,1 46,46 8,8' \
    -stroke '#2d5a7b' -strokewidth 1 \
    -draw 'line 8,34 40,34' -draw 'line 8,40 40,40' -draw 'line 16,30 16,44' -draw 'line 32,30 32,44' \
    -fill none -stroke '#9fe3d2' -strokewidth 3 -draw 'bezier 7,30 24,-2 41,30' \
    -stroke '#5fb8b0' -strokewidth 2 -draw 'bezier 11,34 24,10 37,34' \
    -depth 8 -strip PNG32:icon.png
