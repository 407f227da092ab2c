#!/usr/bin/env bash
# Draws Quorvel's clock icon (four sizes in one .ico) with ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A white face with a green rim, four hour marks and hands at 10:08.
convert -size 256x256 xc:none \
  -fill white -stroke '#008000' -strokewidth 20 -draw 'circle 128,128 128,16' \
  -stroke '#004000' -strokewidth 10 \
  -draw 'line 128,40 128,60' -draw 'line 216,128 196,128' \
  -draw 'line 128,216 128,196' -draw 'line 40,128 60,128' \
  -stroke black -strokewidth 16 -draw 'line 128,128 82,100' \
  -stroke black -strokewidth 10 -draw 'line 128,128 186,68' \
  -stroke none -fill '#ff0000' -draw 'circle 128,128 128,116' \
  "$work/256.png"
for size in 16 32 48; do
  convert "$work/256.png" -resize "${size}x${size}" "$work/$size.png"
done
convert "$work/16.png" "$work/32.png" "$work/48.png" "$work/256.png" \
  src/backends/win32/quorvel.ico
identify src/backends/win32/quorvel.ico
