#!/usr/bin/env bash
# Draws the PNG sizes of tallion.svg with ImageMagick's own primitives (the same shapes), for
# desktops that want bitmaps. Run by hand after changing the icon; the PNGs are kept in git.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 256x256 xc:none \
  -fill '#1f4e79' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#e8c39e' -draw 'rectangle 32,104 223,115' \
  -fill '#fbf0d9' -draw 'rectangle 32,116 223,155' \
  -fill '#c0392b' -draw 'rectangle 32,156 223,223' \
  -fill '#dfe6ee' -draw 'roundrectangle 104,28 151,83 8,8' -draw 'rectangle 120,84 135,99' \
  -fill '#ffffff' -stroke '#2b2b2b' -strokewidth 2 -draw 'polygon 122,100 134,100 134,196 128,212 122,196' \
  -stroke '#ffffff' -strokewidth 4 -draw 'line 172,116 204,116' -draw 'line 172,156 204,156' \
  -draw 'line 172,200 204,200' \
  tallion-256.png
for size in 48 128; do
  convert tallion-256.png -resize "${size}x${size}" "tallion-${size}.png"
done
