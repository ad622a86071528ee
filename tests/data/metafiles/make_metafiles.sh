#!/bin/bash
# Regenerates the metafiles that other programs write of one drawing, for the picture tests.
# The tests use the committed files; this script documents how they were made.
#
# The drawing (drawing.svg, and the same in drawing.fig and drawing.ps), 240 × 160 units:
#   a white page with a thin black border,
#   a red rectangle (20, 20)–(100, 80),
#   a blue circle of radius 35 around (180, 50),
#   a green triangle (60, 150), (140, 150), (100, 100).
#
# Tools (Debian 12 packages): inkscape, fig2dev, pstoedit (with ghostscript), libreoffice-draw.
# ImageMagick's convert on Linux writes neither EMF nor WMF, so it has no file here.
set -euo pipefail
cd "$(dirname "$0")"

inkscape drawing.svg --export-type=emf --export-filename=inkscape.emf
inkscape drawing.svg --export-type=wmf --export-filename=inkscape.wmf
fig2dev -L emf drawing.fig fig2dev.emf
pstoedit -f emf drawing.ps pstoedit.emf

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The same drawing above the top of pstoedit's letter page: the header's frame then has a
# negative y origin.
{
  printf '%s\n' '%!PS-Adobe-3.0 EPSF-3.0' '%%BoundingBox: 0 900 240 1060' '%%EndComments' '0 900 translate'
  tail -n +4 drawing.ps
} > "$out/above_page.ps"
pstoedit -f emf "$out/above_page.ps" pstoedit_above_page.emf

# LibreOffice Draw opens the SVG and exports it; a private profile keeps the user's alone.
for kind in emf wmf; do
  HOME="$out" soffice --headless --convert-to "$kind" --outdir "$out" drawing.svg
  mv "$out/drawing.$kind" "libreoffice.$kind"
done
