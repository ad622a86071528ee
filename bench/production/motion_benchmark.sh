#!/usr/bin/env bash
# Motion render benchmark: the 12-picture album of render_benchmark.sh (640 × 480 up to
# 4000 × 3000, 3 s each, one 60 s song) rendered with `render --motion`, every picture with its
# automatic motion, in the same run as the encoders alone on the same number of frames:
#   DVD against ffmpeg -target pal-dvd from raw 720 × 576 frames (goal: at most 1.0 times);
#   1080p30 MP4 against libx264 (medium, crf 20) on the render's own frames (goal: 1.10 times).
# The first render chooses every automatic motion and keeps it in the album folder; the next
# ones take the kept choices, as every render after the first does. Both are printed.
#
# usage: bench/production/motion_benchmark.sh [BUILD_DIR] [PART...]   (default build/release,
# built with -DCMAKE_BUILD_TYPE=Release if missing, never a sanitizer build for figures; parts
# dvd and mp4, both by default)
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$here/build/release}"
shift $(($# < 1 ? $# : 1))
parts=" ${*:-dvd mp4} "
bench_name=vistello-motion-bench
# shellcheck source=bench_album.sh
source "$here/bench/production/bench_album.sh"

# Like measure, and also sets cpu: the user and system seconds of the command and its
# children. On a shared, loaded machine the wall times follow the load; the CPU times show the
# work, and both ratios are printed.
measure() {
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" >"$work/stdout" 2>/dev/null
  read -r seconds peak_kb user system <"$work/time"
  peak_mb=$((peak_kb / 1024))
  cpu=$(calc "$user + $system")
}

printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"

if [[ $parts == *" dvd "* ]]; then
# DVD: the first render chooses, the second takes the kept choices.
measure "$cli" --root "$work/root" render bench --format dvd --motion --out "$work/dvd.mpg"
frames=$(frames_of)
first_seconds=$seconds; first_cpu=$cpu
measure "$cli" --root "$work/root" render bench --format dvd --motion --out "$work/dvd.mpg"
dvd_seconds=$seconds; dvd_peak=$peak_mb; dvd_cpu=$cpu
ffmpeg -v error -y -f lavfi -i "testsrc2=size=720x576:rate=25" -frames:v 50 -f rawvideo -pix_fmt bgr24 "$work/clip.raw"
measure ffmpeg -v error -y -stream_loop -1 -f rawvideo -pix_fmt bgr24 -s 720x576 -r 25 -i "$work/clip.raw" \
  -i "$work/song.mp3" -map 0:v -map 1:a -frames:v "$frames" -target pal-dvd -c:a mp2 -b:a 224k "$work/baseline.mpg"
base_seconds=$seconds; base_cpu=$cpu
printf 'DVD with motion: %d frames  encoder alone %6.2f s (cpu %6.2f s)\n' "$frames" "$base_seconds" "$base_cpu"
printf '  first render (choosing)  %6.2f s  ratio %.2f  (cpu %6.2f s  ratio %.2f)\n' "$first_seconds" \
  "$(calc "$first_seconds / $base_seconds")" "$first_cpu" "$(calc "$first_cpu / $base_cpu")"
printf '  render (kept choices)    %6.2f s  ratio %.2f  (cpu %6.2f s  ratio %.2f)  peak %4d MB  (goal 1.0)\n' \
  "$dvd_seconds" "$(calc "$dvd_seconds / $base_seconds")" "$dvd_cpu" "$(calc "$dvd_cpu / $base_cpu")" "$dvd_peak"

fi

if [[ $parts == *" mp4 "* ]]; then
# 1080p at 30 frames a second; the encoder alone on the render's own frames, the decoder's own
# time taken off (as mp4_benchmark.sh does).
measure "$cli" --root "$work/root" render bench --format mp4-1080p --fps 30 --motion --out "$work/render.mp4"
first_seconds=$seconds; first_cpu=$cpu
measure "$cli" --root "$work/root" render bench --format mp4-1080p --fps 30 --motion --out "$work/render.mp4"
frames=$(frames_of)
render_seconds=$seconds; render_peak=$peak_mb; render_cpu=$cpu
measure ffmpeg -v error -i "$work/render.mp4" -f rawvideo -pix_fmt bgr24 -y /dev/null
decode_seconds=$seconds; decode_cpu=$cpu
/usr/bin/time -f '%e %M %U %S' -o "$work/time" bash -c "ffmpeg -v error -i '$work/render.mp4' -f rawvideo -pix_fmt bgr24 - |
  ffmpeg -v error -y -f rawvideo -pix_fmt bgr24 -s 1920x1080 -r 30 -i - -i '$work/song.mp3' -map 0:v -map 1:a \
    -c:v libx264 -preset medium -crf 20 -pix_fmt yuv420p -c:a aac -b:a 192k -shortest -movflags +faststart \
    '$work/baseline.mp4'" >/dev/null 2>&1
read -r pipe_seconds _ pipe_user pipe_system <"$work/time"
base_seconds=$(calc "$pipe_seconds - $decode_seconds")
base_cpu=$(calc "$pipe_user + $pipe_system - $decode_cpu")
printf '1080p30 MP4 with motion: %d frames  x264 alone %6.2f s (cpu %6.2f s)\n' "$frames" "$base_seconds" "$base_cpu"
printf '  first render (choosing)  %6.2f s  ratio %.2f  (cpu %6.2f s  ratio %.2f)\n' "$first_seconds" \
  "$(calc "$first_seconds / $base_seconds")" "$first_cpu" "$(calc "$first_cpu / $base_cpu")"
printf '  render (kept choices)    %6.2f s  ratio %.2f  (cpu %6.2f s  ratio %.2f)  peak %4d MB  (goal 1.10)\n' \
  "$render_seconds" "$(calc "$render_seconds / $base_seconds")" "$render_cpu" "$(calc "$render_cpu / $base_cpu")" \
  "$render_peak"
fi
printf 'load average: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
