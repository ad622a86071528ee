#!/usr/bin/env bash
# Makes small seed files for the fuzz corpora with other programs (ImageMagick, cwebp, img2webp,
# heif-enc, avifenc, cjxl, tiffcp, ffmpeg with LAME) and copies in the test fixtures, one folder
# per fuzz target under OUT; scripts/fuzz.sh merge then keeps only those that add coverage.
#   fuzz/make_seeds.sh OUT
set -euo pipefail
out="$(realpath -m "${1:?usage: fuzz/make_seeds.sh OUT}")"
cd "$(dirname "$0")/.."
data="$PWD/tests/data"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
for kind in jpg bmp ico png gif webp heic avif jxl tif tiff emf wmf mp3; do mkdir -p "$out/$kind"; done

# Test fixtures, by extension.
for f in "$data"/pictures/* "$data"/icons/*.ico "$data"/metafiles/*.[ew]mf; do
  case "$f" in *.ref.png) continue ;; esac
  ext="${f##*.}"
  [ "$ext" = jpeg ] && ext=jpg
  [ -d "$out/$ext" ] && cp "$f" "$out/$ext/fixture_$(basename "$f")"
done

# Two small pictures to encode: a colour pattern with alpha, and a photograph cut down.
convert -size 24x16 plasma:red-blue -alpha set -channel A -evaluate set 70% +channel "$tmp/alpha.png"
convert "$data/astronaut_face.jpg" -resize 24x16! "$tmp/photo.png"
p="$tmp/photo.png" a="$tmp/alpha.png"

convert "$p" -quality 60 "$out/jpg/im_baseline.jpg"
convert "$p" -interlace Plane "$out/jpg/im_progressive.jpg"
convert "$p" -colorspace Gray "$out/jpg/im_grey.jpg"
convert "$p" -sampling-factor 4:4:4 -define jpeg:restart-interval=1 "$out/jpg/im_444_restarts.jpg"
convert "$p" -colorspace CMYK "$out/jpg/im_cmyk.jpg"
convert "$p" -orient RightTop "$out/jpg/im_exif_orient6.jpg"

convert "$p" -type Palette BMP3:"$out/bmp/im_palette8.bmp"
convert "$p" -colors 16 -compress RLE BMP3:"$out/bmp/im_rle.bmp"
convert "$p" -monochrome BMP3:"$out/bmp/im_mono.bmp"
convert "$a" BMP:"$out/bmp/im_alpha32.bmp"
convert "$p" BMP2:"$out/bmp/im_os2.bmp"
convert "$a" -define icon:auto-resize=16,32 "$out/ico/im_two_sizes.ico"

convert "$p" -type Grayscale -depth 2 "$out/png/im_grey2.png"
convert "$a" -depth 16 "$out/png/im_rgba16.png"
convert "$p" -colors 8 -transparent white PNG8:"$out/png/im_palette_trns.png"
convert "$p" -interlace PNG "$out/png/im_interlaced.png"
convert "$p" -orient RightTop "$out/png/im_exif.png"

convert "$p" -interlace GIF "$out/gif/im_interlaced.gif"
convert "$a" -transparent white "$out/gif/im_transparent.gif"
convert -delay 10 "$p" -flip "$p" -loop 0 "$out/gif/im_two_frames.gif"

cwebp -quiet -q 40 "$p" -o "$out/webp/cwebp_lossy.webp"
cwebp -quiet -lossless "$a" -o "$out/webp/cwebp_lossless_alpha.webp"
cwebp -quiet -q 50 -alpha_q 20 "$a" -o "$out/webp/cwebp_lossy_alpha.webp"
img2webp -loop 1 "$p" -lossy "$a" -o "$out/webp/img2webp_animated.webp" >/dev/null

heif-enc -q 30 "$p" -o "$out/heic/heifenc_photo.heic" >/dev/null
heif-enc -q 30 -p chroma=444 "$a" -o "$out/heic/heifenc_alpha_444.heic" >/dev/null
avifenc --min 30 --max 40 -s 10 "$p" "$out/avif/avifenc_420.avif" >/dev/null
avifenc --min 30 --max 40 -s 10 -y 444 -d 10 "$a" "$out/avif/avifenc_444_10bit_alpha.avif" >/dev/null

cjxl -q 60 "$p" "$out/jxl/cjxl_lossy.jxl" >/dev/null 2>&1
cjxl -d 0 "$a" "$out/jxl/cjxl_lossless_alpha.jxl" >/dev/null 2>&1
cjxl -q 70 -p "$p" "$out/jxl/cjxl_progressive.jxl" >/dev/null 2>&1

# TIFF: uncompressed strips for the own reader, libtiff's compressions and layouts for the other.
convert "$p" -compress None "$tmp/plain.tif"
convert "$a" -compress None -depth 8 "$tmp/alpha.tif"
convert "$p" -compress None -type Grayscale -depth 16 "$out/tiff/im_grey16.tif"
convert "$p" -compress None -colors 16 -type Palette "$out/tiff/im_palette.tif"
convert "$p" -compress None -endian MSB "$out/tiff/im_rgb_be.tif"
cp "$tmp/plain.tif" "$out/tiff/im_rgb.tif"
tiffcp -c lzw:2 "$tmp/plain.tif" "$out/tif/tiffcp_lzw_predictor.tif"
tiffcp -c zip -p separate "$tmp/alpha.tif" "$out/tif/tiffcp_zip_planar.tif"
tiffcp -c jpeg:50 -t -w 16 -l 16 "$tmp/plain.tif" "$out/tif/tiffcp_jpeg_tiled.tif"
tiffcp -c packbits -r 3 "$tmp/plain.tif" "$out/tif/tiffcp_packbits_strips.tif"
convert "$p" -monochrome -compress Group4 "$out/tif/im_group4.tif"
convert "$p" -colorspace CMYK -compress LZW "$out/tif/im_cmyk_lzw.tif"

# MP3: LAME at several rates and modes, with ID3v2 and ID3v1 tags.
tone() { ffmpeg -v error -f lavfi -i "sine=frequency=440:duration=0.15:sample_rate=$1" "${@:2}"; }
tone 44100 -ac 2 -c:a libmp3lame -b:a 64k "$out/mp3/lame_cbr_stereo.mp3"
tone 22050 -ac 1 -c:a libmp3lame -q:a 6 "$out/mp3/lame_vbr_mono.mp3"
tone 8000 -ac 1 -c:a libmp3lame -b:a 8k -metadata title=Tone -metadata artist=Vistello \
  -id3v2_version 3 -write_id3v1 1 "$out/mp3/lame_8k_id3v2_id3v1.mp3"
tone 48000 -ac 2 -c:a libmp3lame -b:a 32k -joint_stereo 1 -write_xing 0 "$out/mp3/lame_joint_no_xing.mp3"
