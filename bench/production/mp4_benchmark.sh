#!/usr/bin/env bash
# MP4 render benchmark: the 12-picture album of render_benchmark.sh (640 × 480 up to
# 4000 × 3000, 3 s each, one 60 s song) rendered by `vistello-cli render --format mp4-...` at
# 30 frames a second, against ffmpeg's libx264 encoding the same frames from raw bgr24 with the
# same song, preset and quality, in the same run:
#   ffmpeg -f rawvideo -pix_fmt bgr24 -s WxH -r 30 -i - -c:v libx264 -preset P -crf Q
# The same frames are the render's own, decoded from its file and piped in; the decoder's own
# time (measured alone) is taken off the baseline. Prints the ratio render / encoder alone and
# the render's peak memory for 1080p, 720p, 2160p and the upright 1080 × 1920; then the peak
# memory (resident set) of a 2160p render of three 12-megapixel pictures, against its goal of
# at most 800 MB.
#
# usage: bench/production/mp4_benchmark.sh [BUILD_DIR] [PRESET] [CRF] [FORMAT...]   (default
# build/release, medium, 20, the four formats; never a sanitizer build for figures)
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$here/build/release}"
preset="${2:-medium}"
crf="${3:-20}"
shift $(($# < 3 ? $# : 3))
formats=("$@")
((${#formats[@]})) || formats=(mp4-1080p mp4-720p mp4-2160p mp4-1080x1920)
bench_name=vistello-mp4-bench
# shellcheck source=bench_album.sh
source "$here/bench/production/bench_album.sh"

printf 'preset %s, crf %s, 30 frames a second\n' "$preset" "$crf"
for format in "${formats[@]}"; do
  measure "$cli" --root "$work/root" render bench --format "$format" --fps 30 --quality "$crf" --speed "$preset" \
    --out "$work/render.mp4"
  frames=$(frames_of)
  render_seconds=$seconds; render_peak=$peak_mb
  size=$(ffprobe -v error -select_streams v -show_entries stream=width,height -of csv=p=0:s=x "$work/render.mp4")
  # The decoder alone, then the decoder feeding the encoder alone.
  measure ffmpeg -v error -i "$work/render.mp4" -f rawvideo -pix_fmt bgr24 -y /dev/null
  decode_seconds=$seconds
  /usr/bin/time -f '%e %M' -o "$work/time" bash -c "ffmpeg -v error -i '$work/render.mp4' -f rawvideo -pix_fmt bgr24 - |
    ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s $size -r 30 -i - -i '$work/song.mp3' -map 0:v -map 1:a \
      -c:v libx264 -preset $preset -crf $crf -pix_fmt yuv420p -c:a aac -b:a 192k -shortest -movflags +faststart \
      '$work/baseline.mp4'" >/dev/null 2>&1
  read -r pipe_seconds pipe_peak_kb <"$work/time"
  base_seconds=$(calc "$pipe_seconds - $decode_seconds")
  # The encoder's own peak, for comparison with the render's (the pipe's larger process).
  printf '%-14s %5d frames  render %7.2f s (%5.1f fps, peak %4d MB)  encoder alone %7.2f s (peak %4d MB)  ratio %.2f\n' \
    "$format" "$frames" "$render_seconds" "$(calc "$frames / $render_seconds")" "$render_peak" "$base_seconds" \
    "$((pipe_peak_kb / 1024))" "$(calc "$render_seconds / $base_seconds")"
done

# Peak memory at 2160p: every picture 12 megapixels, so that decoding and composing the next
# one overlaps the encoder at its largest.
make_12mp_album
measure "$cli" --root "$work/root" render twelve_mp --format mp4-2160p --fps 30 --quality "$crf" --speed "$preset" \
  --out "$work/render.mp4"
printf 'mp4-2160p of 12-megapixel pictures: %d frames, %.2f s, peak memory %d MB (goal at most 800 MB: %s)\n' \
  "$(frames_of)" "$seconds" "$peak_mb" "$( ((peak_mb <= 800)) && echo met || echo missed)"
