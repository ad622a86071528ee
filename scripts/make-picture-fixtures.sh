#!/usr/bin/env bash
# Regenerates tests/data/pictures: small pictures of every kind the picture decoders read
# besides the original ones, each made by another program (ImageMagick, cwebp/img2webp/
# webpmux, heif-enc and libheif's encoder, avifenc, tiffcp/tiffset, cjxl), and beside each
# the picture its reference decoder gives (dwebp, heif-convert, avifdec, djxl, ImageMagick),
# as "<name>.ref.png" in 8-bit RGB with any transparency drawn over white. The tests compare
# the program's decoding of each file against its reference.
#
# Needs: imagemagick webp libheif-examples libheif-dev libavif-bin libtiff-tools libjxl-tools
# python3 and a C compiler. ImageMagick writes the time of making into PNG files, so a new run
# changes those by that only.
set -euo pipefail

out="$(cd "$(dirname "$0")/.." && pwd)/tests/data/pictures"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
rm -f "$out"/*
cd "$work"

# An asymmetric picture, so that any turn or mirror shows, and a half-transparent twin.
convert -size 64x48 gradient:'#d02010-#1040e0' -fill '#f0e020' -draw 'circle 18,16 28,16' \
  -fill '#20a040' -draw 'rectangle 40,30 60,44' -depth 8 src.png
convert src.png -alpha set -channel A -fx 'i<32 ? 1 : 0.4' +channel -depth 8 alpha.png
convert -size 64x48 xc:'#3060c0' -fill '#ffffff' -draw 'polygon 0,0 40,0 0,30' -depth 8 frame2.png

# The reference as 8-bit RGB over white; the turned references are turned by ImageMagick.
ref() { convert "$1" -background white -alpha remove -alpha off -depth 8 "PNG24:$2"; }

# A TIFF-form EXIF block holding only an Orientation, and its insertion into PNG and JPEG.
cat > exif.py <<'PY'
import struct, sys, zlib
def block(orientation):
    return b'II*\0' + struct.pack('<IHHHIHHI', 8, 1, 0x0112, 3, 1, orientation, 0, 0)
def dated(taken):  # IFD0 pointing to an Exif IFD that holds DateTimeOriginal
    text = taken.encode() + b'\0'
    return (b'II*\0' + struct.pack('<IHHHII', 8, 1, 0x8769, 4, 1, 26) + struct.pack('<I', 0) +
            struct.pack('<HHHII', 1, 0x9003, 2, len(text), 44) + struct.pack('<I', 0) + text)
mode, source, target, value = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
data = open(source, 'rb').read() if source != '-' else b''
body = dated(value) if ':' in value else block(int(value))
if mode == 'block':
    data = body
elif mode == 'png':  # an eXIf chunk right after IHDR
    chunk = struct.pack('>I', len(body)) + b'eXIf' + body + struct.pack('>I', zlib.crc32(b'eXIf' + body))
    data = data[:33] + chunk + data[33:]
elif mode == 'jpeg':  # an APP1 Exif segment right after SOI
    payload = b'Exif\0\0' + body
    data = data[:2] + b'\xff\xe1' + struct.pack('>H', len(payload) + 2) + payload + data[2:]
open(target, 'wb').write(data)
PY

# PNG
cp src.png png_rgb.png
convert alpha.png PNG32:png_alpha.png
convert src.png -colors 16 PNG8:png_palette.png
convert src.png -colorspace Gray -depth 16 png_grey16.png
convert src.png -interlace PNG png_interlaced.png
python3 exif.py png src.png png_orient6.png 6
for f in png_rgb png_alpha png_palette png_grey16 png_interlaced; do ref $f.png $f.png.ref.png; done
convert src.png -rotate 90 png_orient6.png.ref.png && ref png_orient6.png.ref.png png_orient6.png.ref.png

# GIF: the first frame of an animation
convert -delay 20 src.png frame2.png -layers optimize gif_animated.gif
ref 'gif_animated.gif[0]' gif_animated.gif.ref.png

# WebP
cwebp -quiet -q 90 src.png -o webp_lossy.webp
cwebp -quiet -lossless -exact alpha.png -o webp_alpha.webp
img2webp -lossless src.png -d 200 frame2.png -o webp_animated.webp >/dev/null
python3 exif.py block - exif6.bin 6
webpmux -set exif exif6.bin webp_lossy.webp -o webp_orient6.webp
for f in webp_lossy webp_alpha; do dwebp -quiet $f.webp -o d.png && ref d.png $f.webp.ref.png; done
webpmux -get frame 1 webp_animated.webp -o first.webp && dwebp -quiet first.webp -o d.png && ref d.png webp_animated.webp.ref.png
dwebp -quiet webp_lossy.webp -o d.png && convert d.png -rotate 90 r.png && ref r.png webp_orient6.webp.ref.png

# HEIC: a photo, one with alpha, and one whose rotation is stored as irot/imir by libheif
heif-enc -q 90 src.png -o heic_photo.heic >/dev/null
heif-enc -q 90 alpha.png -o heic_alpha.heic >/dev/null
cat > turn.c <<'C'
#include <libheif/heif.h>
#include <stdio.h>
#include <stdlib.h>
/* turn IN.png-as-PPM... reads a binary P6 PPM and writes it as HEIC with an orientation. */
int main(int argc, char** argv) {
    FILE* in = fopen(argv[1], "rb"); int w, h, max;
    if (!in || fscanf(in, "P6 %d %d %d", &w, &h, &max) != 3) return 1; fgetc(in);
    struct heif_image* image; heif_image_create(w, h, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
    int stride; uint8_t* p = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < h; ++y) if (fread(p + y * stride, 3, w, in) != (size_t)w) return 1;
    struct heif_context* context = heif_context_alloc(); struct heif_encoder* encoder;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    struct heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = (enum heif_orientation)atoi(argv[3]);
    if (heif_context_encode_image(context, image, encoder, options, NULL).code) return 1;
    return heif_context_write_to_file(context, argv[2]).code != 0;
}
C
cc turn.c -o turn $(pkg-config --cflags --libs libheif)
convert src.png -depth 8 src.ppm
./turn src.ppm heic_orient6.heic 6
./turn src.ppm heic_orient2.heic 2
for f in heic_photo heic_alpha heic_orient6 heic_orient2; do heif-convert $f.heic d.png >/dev/null && ref d.png $f.heic.ref.png; done
# heif-convert applies the rotation; check it against ImageMagick's turn of the plain decoding
heif-convert heic_photo.heic plain.png >/dev/null
convert plain.png -rotate 90 turned.png
[ "$(compare -metric AE -fuzz 4% turned.png heic_orient6.heic.ref.png null: 2>&1)" = 0 ] ||
  echo "warning: heif-convert's turn differs from ImageMagick's" >&2

# HEIC as phones store large photos: a grid of 512 x 512 HEVC tiles (each made by heif-enc)
# composed on a canvas smaller than the tiles cover; and heif-enc's own grid, a single tile
# under a canvas one pixel narrower and lower, which it writes for odd sizes.
cat > grid.py <<'PY'
# Writes a grid HEIC the way phones store large photos: tiles of one size, each an HEVC
# image of its own (taken from single-picture files made by heif-enc), hidden, and a grid
# item that composes them on a canvas smaller than the tiles cover.
#   python3 grid.py ROWS COLUMNS WIDTH HEIGHT OUT TILE.heic...  (tiles row by row)
import struct, sys

def box(kind, payload):
    return struct.pack('>I', 8 + len(payload)) + kind + payload

def full(kind, version, flags, payload):
    return box(kind, struct.pack('>I', (version << 24) | flags) + payload)

def children(data):
    at = 0
    while at + 8 <= len(data):
        size, kind = struct.unpack('>I4s', data[at:at + 8])
        yield kind, data[at + 8:at + size]
        at += size

def tile(path):  # the hvcC property and the coded picture of a one-picture heif-enc file
    top = dict(children(open(path, 'rb').read()))
    meta = dict(children(top[b'meta'][4:]))
    ipco = dict(children(dict(children(meta[b'iprp']))[b'ipco']))
    ispe = ipco[b'ispe']
    return box(b'hvcC', ipco[b'hvcC']), struct.unpack('>II', ispe[4:12]), top[b'mdat']

rows, columns, width, height, out = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
tiles = [tile(p) for p in sys.argv[6:]]
assert len(tiles) == rows * columns and len({t[1] for t in tiles}) == 1
n = len(tiles)
grid_id = n + 1
ftyp = box(b'ftyp', b'heic' + struct.pack('>I', 0) + b'mif1heic')

def meta(mdat_start):
    hdlr = full(b'hdlr', 0, 0, struct.pack('>I', 0) + b'pict' + bytes(12) + b'\0')
    pitm = full(b'pitm', 0, 0, struct.pack('>H', grid_id))
    infe = [full(b'infe', 2, 1, struct.pack('>HH', i + 1, 0) + b'hvc1' + b'\0') for i in range(n)]
    infe.append(full(b'infe', 2, 0, struct.pack('>HH', grid_id, 0) + b'grid' + b'\0'))
    iinf = full(b'iinf', 0, 0, struct.pack('>H', n + 1) + b''.join(infe))
    entries, offset = b'', mdat_start
    for i, t in enumerate(tiles):  # construction method 0: in the file, at an absolute offset
        entries += struct.pack('>HHHHII', i + 1, 0, 0, 1, offset, len(t[2]))
        offset += len(t[2])
    entries += struct.pack('>HHHHII', grid_id, 1, 0, 1, 0, 8)  # method 1: in idat
    iloc = full(b'iloc', 1, 0, struct.pack('>BBH', 0x44, 0x00, n + 1) + entries)
    grid = struct.pack('>BBBBHH', 0, 0, rows - 1, columns - 1, width, height)
    idat = box(b'idat', grid)
    iref = full(b'iref', 0, 0, box(b'dimg', struct.pack('>HH', grid_id, n) +
                                   b''.join(struct.pack('>H', i + 1) for i in range(n))))
    tw, th = tiles[0][1]
    ipco = box(b'ipco', b''.join(t[0] for t in tiles) +
               full(b'ispe', 0, 0, struct.pack('>II', tw, th)) +
               full(b'ispe', 0, 0, struct.pack('>II', width, height)))
    assoc = b''.join(struct.pack('>HBBB', i + 1, 2, 0x80 | (i + 1), n + 1) for i in range(n))
    assoc += struct.pack('>HBB', grid_id, 1, n + 2)
    ipma = full(b'ipma', 0, 0, struct.pack('>I', n + 1) + assoc)
    iprp = box(b'iprp', ipco + ipma)
    return full(b'meta', 0, 0, hdlr + pitm + iinf + iloc + idat + iref + iprp)

start = len(ftyp) + len(meta(0)) + 8
open(out, 'wb').write(ftyp + meta(start) + box(b'mdat', b''.join(t[2] for t in tiles)))
PY
convert -size 1024x1024 xc:'#3060c0' -fill '#f0e020' -draw 'circle 300,260 460,260' \
  -fill '#d02010' -draw 'rectangle 560,380 880,660' -fill '#20a040' -draw 'polygon 0,1024 400,600 700,1024' \
  -depth 8 big.png
for r in 0 1; do for c in 0 1; do
  convert big.png -crop 512x512+$((c * 512))+$((r * 512)) +repage -depth 8 PNG24:tile.png
  heif-enc -q 60 tile.png -o tile$r$c.heic >/dev/null
done; done
python3 grid.py 2 2 900 700 heic_grid.heic tile00.heic tile01.heic tile10.heic tile11.heic
convert src.png -crop 63x47+0+0 +repage -depth 8 PNG24:odd.png && heif-enc -q 90 odd.png -o heic_odd_size.heic >/dev/null
for f in heic_grid heic_odd_size; do heif-convert $f.heic d.png >/dev/null && ref d.png $f.heic.ref.png; done

# AVIF: a photo, and one turned by an irot property (a quarter anti-clockwise)
avifenc --min 8 --max 16 -s 8 src.png avif_photo.avif >/dev/null
avifenc --min 8 --max 16 -s 8 --irot 1 src.png avif_irot1.avif >/dev/null
avifdec avif_photo.avif d.png >/dev/null && ref d.png avif_photo.avif.ref.png
convert avif_photo.avif.ref.png -rotate -90 r.png && ref r.png avif_irot1.avif.ref.png

# The date taken (EXIF DateTimeOriginal) as each kind carries it; the HEIC and WebP files get
# it from the JPEG they are made of, as heif-enc and cwebp copy EXIF over.
convert src.png -quality 90 plain.jpg
python3 exif.py jpeg plain.jpg dated_2019.jpg '2019:05:04 10:20:30'
python3 exif.py jpeg plain.jpg d.jpg '2021:01:02 03:04:05' && heif-enc -q 60 d.jpg -o dated_2021.heic >/dev/null
python3 exif.py jpeg plain.jpg d.jpg '2017:12:31 23:59:58' && cwebp -quiet -q 60 -metadata exif d.jpg -o dated_2017.webp
python3 exif.py png src.png dated_2020.png '2020:02:29 12:00:00'

# TIFF, compressed or tiled (the program's own reader keeps the uncompressed strips)
convert src.png -type TrueColor -compress none plain.tif
convert alpha.png -type TrueColorAlpha -compress none plain_alpha.tif
convert src.png -colorspace Gray -type Grayscale -compress none plain_grey.tif
convert src.png -colors 16 -type Palette -compress none plain_palette.tif
tiffcp -c lzw plain.tif tiff_lzw.tif
tiffcp -c zip plain.tif tiff_deflate.tif
tiffcp -c packbits plain.tif tiff_packbits.tif
tiffcp -c jpeg:90 -r 16 plain.tif tiff_jpeg.tif
tiffcp -c none -t -w 16 -l 16 plain.tif tiff_tiled.tif
tiffcp -c lzw -t -w 32 -l 32 plain.tif tiff_tiled_lzw.tif
tiffcp -c lzw plain_grey.tif tiff_grey_lzw.tif
tiffcp -c lzw plain_palette.tif tiff_palette_lzw.tif
tiffcp -c zip plain_alpha.tif tiff_alpha_deflate.tif
tiffcp -c lzw plain.tif tiff_orient6.tif && tiffset -s 274 6 tiff_orient6.tif
for f in tiff_lzw tiff_deflate tiff_packbits tiff_jpeg tiff_tiled tiff_tiled_lzw tiff_grey_lzw tiff_palette_lzw tiff_alpha_deflate; do
  ref $f.tif $f.tif.ref.png
done
convert tiff_lzw.tif -rotate 90 r.png && ref r.png tiff_orient6.tif.ref.png

# JPEG XL
cjxl --quiet -d 1 src.png jxl_photo.jxl 2>/dev/null
cjxl --quiet -d 0 alpha.png jxl_alpha.jxl 2>/dev/null
for f in jxl_photo jxl_alpha; do djxl --quiet $f.jxl d.png 2>/dev/null && ref d.png $f.jxl.ref.png; done

cp -- *.png *.gif *.webp *.heic *.avif *.tif *.jxl dated_*.jpg "$out"/ 2>/dev/null || true
# Keep only the fixtures and their references, not the sources and intermediates.
(cd "$out" && rm -f src.png alpha.png frame2.png d.png r.png plain.png turned.png first.png first.webp plain*.tif \
  big.png tile.png odd.png tile??.heic)
ls -l "$out"
