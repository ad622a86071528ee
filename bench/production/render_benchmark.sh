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
if [ ! -x "$build/bin/vistello-cli" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVISTELLO_BUILD_TESTS=OFF >/dev/null
  ninja -C "$build" vistello-cli >/dev/null
fi
cli="$build/bin/vistello-cli"

work="$(mktemp -d /dev/shm/vistello-render-bench.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root" "$work/pictures"

# Twelve pictures from 640 × 480 to 4000 × 3000.
sizes=(640x480 800x600 1024x768 1280x960 1600x1200 2048x1536 2272x1704 2560x1920 2816x2112
       3072x2304 3456x2592 4000x3000)
for i in "${!sizes[@]}"; do
  ffmpeg -v error -y -f lavfi -i "mandelbrot=size=${sizes[$i]}:start_scale=$((3 + i))" -frames:v 1 -q:v 3 \
    "$work/pictures/$(printf 'p%02d' "$i").jpg"
done
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=60" -ac 2 -c:a libmp3lame -b:a 192k "$work/song.mp3"

"$cli" --root "$work/root" new-album bench >/dev/null
"$cli" --root "$work/root" import-pictures bench "$work"/pictures/*.jpg >/dev/null 2>&1
"$cli" --root "$work/root" import-music bench "$work/song.mp3" >/dev/null 2>&1

# Runs a command; sets seconds and peak_mb from /usr/bin/time.
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/stdout" 2>/dev/null
  read -r seconds peak_kb <"$work/time"
  peak_mb=$((peak_kb / 1024))
}
calc() { awk "BEGIN { print $1 }"; }
frames_of() { sed -n 's/.*"frames":\([0-9]*\).*/\1/p' "$work/stdout"; }

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
