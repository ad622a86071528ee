#!/bin/bash
# Regenerates the icon fixture: one picture at 16, 32, 48 and 256 pixels in one ICO file,
# the smallest first, as icon editors and ImageMagick write them. The tests use the committed
# file; this script documents how it was made (Debian 12's imagemagick).
#
# The picture: red left half, blue right half, a green square in the middle of the top half.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 256x256 xc:red -fill blue -draw 'rectangle 128,0 255,255' \
  -fill lime -draw 'rectangle 96,32 159,95' \
  -define icon:auto-resize=16,32,48,256 sizes_16_32_48_256.ico
