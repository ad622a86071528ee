#!/usr/bin/env bash
# Makes tests/data/astronaut_face.jpg, the photo with a face that the automatic framing's tests
# use: the public-domain portrait of the astronaut Eileen Collins (NASA) that Debian's
# python3-skimage package ships as sample data, reduced to 320 × 320 pixels.
# Needs apt-get (to fetch the package without installing it) and ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download python3-skimage >/dev/null)
dpkg-deb -x "$work"/python3-skimage_*.deb "$work/x"
convert "$work/x/usr/lib/python3/dist-packages/skimage/data/astronaut.png" -resize 320x320 \
  -strip -sampling-factor 4:2:0 -quality 85 tests/data/astronaut_face.jpg
echo "tests/data/astronaut_face.jpg: $(stat -c %s tests/data/astronaut_face.jpg) bytes"
