#!/usr/bin/env bash
# Renders the program icon's PNG sizes from data/icons/vistello.svg (needs rsvg-convert from
# librsvg2-bin). The PNGs are kept in the repository; run this again after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" vistello.svg -o "vistello-$size.png"
done

# The default background pictures (720 x 576 JPEG), drawn with ImageMagick. Only with --backpic,
# since the committed JPEGs are what the program ships.
if [ "${1:-}" = "--backpic" ]; then
  cd ../BackPic
  C=/usr/bin/convert
  $C -size 720x576 gradient:'#1d4f86'-'#0b1a33' \( -size 720x576 xc:none -fill 'rgba(255,255,255,0.10)' \
    -draw 'circle 120,110 200,110' -draw 'circle 590,160 640,160' -draw 'circle 430,470 540,470' \
    -draw 'circle 250,400 285,400' -fill 'rgba(255,210,120,0.10)' -draw 'circle 620,420 700,420' \
    -draw 'circle 330,150 360,150' -blur 0x12 \) -composite -quality 92 blue_bokeh.jpg
  $C -size 720x576 gradient:'#f7b267'-'#8c2f39' \( -size 720x576 radial-gradient:'rgba(255,240,200,0.55)'-'rgba(255,240,200,0)' \) \
    -composite -quality 92 sunset_glow.jpg
  lines=$(python3 -c "print(' '.join(f'line {i},0 {i+576},576' for i in range(-600,760,44)))")
  $C -size 720x576 xc:'#f5f0e4' -stroke '#ebe0c8' -strokewidth 12 -draw "$lines" \
    \( -size 720x576 radial-gradient:'rgba(255,255,255,0)'-'rgba(120,100,70,0.25)' \) -composite -quality 92 cream_stripes.jpg
  $C -size 720x576 gradient:'#9ed8b0'-'#1f6b5a' \( -size 720x576 radial-gradient:'rgba(255,255,230,0.45)'-'rgba(0,0,0,0)' \) \
    -composite \( -size 720x576 radial-gradient:'rgba(0,0,0,0)'-'rgba(0,30,20,0.35)' \) -composite -quality 92 spring_green.jpg
fi
