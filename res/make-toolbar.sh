#!/usr/bin/env bash
# Draws the main frame's toolbar (resource 128): res/toolbar.png, one strip of 16 x 15 images
# in button order (open, save, contrast, time gain, trace view, drawing tool, drawing-object
# visibility, velocity, background removal, EM data), and the three icons of the visibility
# button: res/objects-all.png (137), res/objects-range.png (236), res/objects-hidden.png (235).
# Needs ImageMagick; the PNGs are committed, so builds do not run this.
set -euo pipefail
cd "$(dirname "$0")"

tile() { # name, drawing arguments...
    local name=$1
    shift
    convert -size 16x15 xc:none "$@" -depth 8 -strip "PNG32:$name"
}

eye=(-fill white -stroke '#1f3f5f' -strokewidth 1 -draw 'ellipse 7.5,7 6.5,4 0,360'
     -fill '#2d7fb8' -stroke none -draw 'circle 7.5,7 7.5,9.3' -fill black -draw 'point 7,7 point 8,7')

tile /tmp/tb-open.png -fill '#e8c25a' -stroke '#8a6a12' -draw 'polygon 1,4 6,4 7,5 13,5 13,13 1,13' \
    -fill '#f6dc8c' -draw 'polygon 3,8 15,8 13,13 1,13'
tile /tmp/tb-save.png -fill '#3e6fb0' -stroke '#1d3a63' -draw 'rectangle 1,1 14,13' \
    -fill white -stroke none -draw 'rectangle 4,2 11,6' -fill '#cfd8e3' -draw 'rectangle 4,9 11,13' \
    -fill '#1d3a63' -draw 'rectangle 9,3 10,5'
tile /tmp/tb-contrast.png -fill white -stroke black -draw 'circle 7.5,7 7.5,13' \
    -fill black -stroke none -draw 'path "M 7.5,1 A 6,6 0 0,1 7.5,13 Z"'
tile /tmp/tb-timegain.png -fill '#3aa35b' -stroke '#1e5e33' -draw 'polygon 1,13 14,13 14,2' \
    -stroke black -draw 'line 1,14 15,14'
tile /tmp/tb-trace.png -stroke '#7a8da3' -draw 'line 7,0 7,14' -fill none -stroke '#b02e2e' \
    -draw 'polyline 7,0 7,3 11,4 3,6 13,8 2,10 9,11 7,13 7,14'
tile /tmp/tb-draw.png -fill '#f0c419' -stroke '#7a5c00' -draw 'polygon 3,10 11,2 14,5 6,13' \
    -fill '#f3d6b0' -stroke '#7a5c00' -draw 'polygon 3,10 6,13 1,14' -fill '#e06666' -stroke none -draw 'polygon 11,2 12,1 15,4 14,5'
tile /tmp/objects-all.png "${eye[@]}"
tile /tmp/objects-range.png "${eye[@]}" -stroke '#b02e2e' -strokewidth 1 -draw 'line 0,1 15,1 line 0,13 15,13'
tile /tmp/objects-hidden.png "${eye[@]}" -stroke '#b02e2e' -strokewidth 2 -draw 'line 2,13 13,1'
tile /tmp/tb-velocity.png -fill none -stroke '#1f3f5f' -draw 'line 0,2 15,2' -stroke '#b02e2e' -strokewidth 2 \
    -draw 'bezier 1,14 7,-2 14,14'
tile /tmp/tb-bkgr.png -stroke '#7a8da3' -draw 'line 0,3 15,3 line 0,7 15,7 line 0,11 15,11' \
    -fill none -stroke '#b02e2e' -strokewidth 2 -draw 'line 2,13 13,1'
tile /tmp/tb-em.png -fill none -stroke '#6a3fa0' -strokewidth 2 -draw 'polyline 0,8 3,3 6,12 9,3 12,12 15,7'

convert /tmp/tb-open.png /tmp/tb-save.png /tmp/tb-contrast.png /tmp/tb-timegain.png /tmp/tb-trace.png \
    /tmp/tb-draw.png /tmp/objects-all.png /tmp/tb-velocity.png /tmp/tb-bkgr.png /tmp/tb-em.png \
    +append -depth 8 -strip PNG32:toolbar.png
cp /tmp/objects-all.png /tmp/objects-range.png /tmp/objects-hidden.png .
rm -f /tmp/tb-*.png /tmp/objects-*.png
