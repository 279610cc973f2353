#!/usr/bin/env bash
# Draws the icons of the drawing tool's buttons, 32 x 32: draw-select.png (resource 157), an
# arrow over a dashed frame; draw-line.png (158), a slanted line; draw-rect.png (159), a filled
# rectangle; draw-circle.png (160), a filled circle. Needs ImageMagick; the PNGs are committed,
# so builds do not run this.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 32x32 xc:none \
    -fill none -stroke '#606060' -strokewidth 1 -draw 'stroke-dasharray 3 2 rectangle 11,11 29,28' \
    -fill '#202020' -stroke '#f4f4f4' -strokewidth 1 \
    -draw 'polygon 4,3 4,22 9,17 13,25 16,24 12,16 19,16' \
    -depth 8 -strip PNG32:draw-select.png
convert -size 32x32 xc:none \
    -fill none -stroke '#202020' -strokewidth 3 -draw 'line 5,27 27,5' \
    -depth 8 -strip PNG32:draw-line.png
convert -size 32x32 xc:none \
    -fill '#64ff64' -stroke '#202020' -strokewidth 2 -draw 'rectangle 4,8 28,24' \
    -depth 8 -strip PNG32:draw-rect.png
convert -size 32x32 xc:none \
    -fill '#64ff64' -stroke '#202020' -strokewidth 2 -draw 'circle 16,16 16,4' \
    -depth 8 -strip PNG32:draw-circle.png
