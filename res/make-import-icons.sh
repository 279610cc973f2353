#!/usr/bin/env bash
# Draws the icons of the import dialog's buttons: folder.png (resource 244, browse for a
# folder), profile-load.png (248, load profiles), profile-remove.png (245), profile-up.png
# (246) and profile-down.png (247). Needs ImageMagick; the PNGs are committed, so builds do
# not run this.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 32x32 xc:none \
    -fill '#e8b84a' -stroke '#6b4e12' -strokewidth 1.5 \
    -draw 'path "M 3,9 L 12,9 L 15,12 L 29,12 L 29,27 L 3,27 Z"' \
    -fill '#f6d27a' -draw 'path "M 3,27 L 7,16 L 31,16 L 29,27 Z"' \
    -depth 8 -strip PNG32:folder.png
convert -size 32x32 xc:none \
    -fill '#ffffff' -stroke '#404040' -strokewidth 1.5 -draw 'path "M 6,3 L 20,3 L 26,9 L 26,29 L 6,29 Z"' \
    -fill none -stroke '#202020' -strokewidth 1.5 -draw 'polyline 16,7 18,10 14,13 19,16 13,19 20,22 12,25' \
    -fill '#2f8a3a' -stroke '#1d5a25' -strokewidth 1 -draw 'path "M 21,15 L 27,15 L 27,21 L 31,21 L 24,29 L 17,21 L 21,21 Z"' \
    -depth 8 -strip PNG32:profile-load.png
convert -size 32x32 xc:none \
    -stroke '#c03020' -strokewidth 4 -draw 'line 8,8 24,24' -draw 'line 24,8 8,24' \
    -depth 8 -strip PNG32:profile-remove.png
convert -size 32x32 xc:none \
    -fill '#2d5a7b' -stroke '#1b3a52' -strokewidth 1 \
    -draw 'path "M 16,4 L 28,17 L 21,17 L 21,28 L 11,28 L 11,17 L 4,17 Z"' \
    -depth 8 -strip PNG32:profile-up.png
convert profile-up.png -flip -depth 8 -strip PNG32:profile-down.png
