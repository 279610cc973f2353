#!/usr/bin/env bash
# Draws res/logo.png, the picture that the main view shows before a project is open.
# Needs ImageMagick and fonts-liberation; the PNG is committed, so builds do not run this.
set -euo pipefail
cd "$(dirname "$0")"
arcs=()
for i in 0 1 2 3; do
    # Diffraction hyperbolas as a radar section shows them, each fainter than the last.
    y=$((36 + i * 14))
    w=$((46 + i * 18))
    opacity=(1 0.8 0.6 0.4)
    arcs+=(-draw "stroke-opacity ${opacity[$i]} bezier $((360 - w)),$((y + 130)) 360,$((y - 60)) $((360 + w)),$((y + 130))")
done
convert -size 420x150 gradient:'#16324f-#1f6f78' \
    -fill none -stroke '#9fe3d2' -strokewidth 3 "${arcs[@]}" \
    -stroke none -fill white -font Liberation-Sans-Bold -pointsize 54 -annotate +24+84 'Quarvel' \
    -fill '#cfe9ef' -font Liberation-Sans -pointsize 17 -annotate +27+116 '3D GPR surveys' \
    -alpha off -depth 8 -strip logo.png
