#!/usr/bin/env bash
# Render benchmark: a generated 12-picture album (640 × 480 up to 4000 × 3000, 3 s each, one
# 60 s song, default settings) rendered by `vistello-cli render`, against ffmpeg encoding the
# same number of raw 720 × 576 frames with the same song to -target pal-dvd in the same run.
# Prints the ratio render / encoder alone, frames per second and peak memory for VCD, SVCD,
# DVD, and DVD with softening.
#
# usage: bench/production/render_benchmark.sh [BUILD_DIR]   (default: build/release, built
# with -DCMAKE_BUILD_TYPE=Release if missing; never a sanitizer build for figures)
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$here/build/release}"
bench_name=vistello-render-bench
# shellcheck source=bench_album.sh
source "$here/bench/production/bench_album.sh"

measure "$cli" --root "$work/root" render bench --format dvd --out "$work/dvd.mpg"
frames=$(frames_of)
dvd_seconds=$seconds; dvd_peak=$peak_mb

# The encoder alone: the same number of 720 × 576 frames, looped from a raw clip of 50 frames
# held in memory, with the same song.
ffmpeg -v error -y -f lavfi -i "testsrc2=size=720x576:rate=25" -frames:v 50 -f rawvideo -pix_fmt bgr24 "$work/clip.raw"
measure ffmpeg -v error -y -stream_loop -1 -f rawvideo -pix_fmt bgr24 -s 720x576 -r 25 -i "$work/clip.raw" \
  -i "$work/song.mp3" -map 0:v -map 1:a -frames:v "$frames" -target pal-dvd -c:a mp2 -b:a 224k "$work/baseline.mpg"
base_seconds=$seconds; base_peak=$peak_mb

printf 'frames: %s\n' "$frames"
printf 'encoder alone (ffmpeg -target pal-dvd): %6.2f s  %6.0f fps  peak %4d MB\n' \
  "$base_seconds" "$(calc "$frames / $base_seconds")" "$base_peak"
printf 'render DVD:                             %6.2f s  %6.0f fps  peak %4d MB  ratio %.2f\n' \
  "$dvd_seconds" "$(calc "$frames / $dvd_seconds")" "$dvd_peak" "$(calc "$dvd_seconds / $base_seconds")"

for run in "vcd" "svcd" "dvd --soften"; do
  measure "$cli" --root "$work/root" render bench --format $run --out "$work/other.mpg"
  printf 'render %-32s %6.2f s  %6.0f fps  peak %4d MB  ratio %.2f\n' "${run^^}:" \
    "$seconds" "$(calc "$(frames_of) / $seconds")" "$peak_mb" "$(calc "$seconds / $base_seconds")"
done
