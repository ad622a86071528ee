#!/usr/bin/env bash
# Installs everything Vistello needs to build, test and check its output on Debian 12.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config git ca-certificates
  # windows, image loading, the SVG pictures of the skin (metafiles are played by the program)
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  # Qt's own dialogs and buttons in Chinese (qtbase_zh_CN)
  qt6-translations-l10n
  # pictures
  libjpeg62-turbo-dev libjpeg-turbo-progs
  # WebP; HEIC and AVIF (libheif1 brings its libde265, dav1d and libaom decoders); JPEG XL;
  # compressed and tiled TIFF (PNG and GIF are Qt's own)
  libwebp-dev libheif-dev libjxl-dev libtiff-dev
  # the encoders and reference decoders of the picture fixtures and benchmarks
  webp libheif-examples libavif-bin libtiff-tools libjxl-tools netpbm
  # faces for the automatic motion: OpenCV's cascade detector and the cascades it ships
  libopencv-objdetect-dev libopencv-imgproc-dev opencv-data
  # MPEG-1/2, H.264 and H.265 encoding (Debian's libavcodec59 brings libx264 and libx265),
  # MP3 decoding, sound output
  libavcodec-dev libavformat-dev libavutil-dev libswscale-dev libswresample-dev libsdl2-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # CJK font, a display for screenshots, and the tools that check our output
  fonts-noto-cjk xvfb xauth ffmpeg vcdimager dvdauthor genisoimage imagemagick desktop-file-utils groff-base
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
