# Shared by the render benchmarks (sourced, not run): builds vistello-cli in $build when it is
# missing, makes a scratch folder $work (removed on exit) and in it the benchmark album "bench":
# twelve pictures from 640 × 480 to 4000 × 3000 (3 s each) and one 60 s song. Also defines
# measure (sets seconds and peak_mb from /usr/bin/time), calc, frames_of and make_12mp_album.
# Needs: here (the checkout), build (the build folder), bench_name (the scratch folder's name).

if [ ! -x "$build/bin/vistello-cli" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVISTELLO_BUILD_TESTS=OFF >/dev/null
  ninja -C "$build" vistello-cli >/dev/null
fi
cli="$build/bin/vistello-cli"

work="$(mktemp -d "/dev/shm/$bench_name.XXXXXX" 2>/dev/null || mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root" "$work/pictures"

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

# Makes the album "twelve_mp": three 4000 × 3000 (12-megapixel) pictures of 3 s each with the
# same song, for the peak memory of a 2160p render.
make_12mp_album() {
  local i
  mkdir -p "$work/twelve_mp"
  for i in 0 1 2; do
    ffmpeg -v error -y -f lavfi -i "mandelbrot=size=4000x3000:start_scale=$((4 + 2 * i))" -frames:v 1 -q:v 3 \
      "$work/twelve_mp/$(printf 'q%02d' "$i").jpg"
  done
  "$cli" --root "$work/root" new-album twelve_mp >/dev/null
  "$cli" --root "$work/root" import-pictures twelve_mp "$work"/twelve_mp/*.jpg >/dev/null 2>&1
  "$cli" --root "$work/root" import-music twelve_mp "$work/song.mp3" >/dev/null 2>&1
}

# Runs a command; sets seconds and peak_mb from /usr/bin/time.
measure() {
  /usr/bin/time -f '%e %M' -o "$work/time" "$@" >"$work/stdout" 2>/dev/null
  read -r seconds peak_kb <"$work/time"
  peak_mb=$((peak_kb / 1024))
}
calc() { awk "BEGIN { print $1 }"; }
frames_of() { sed -n 's/.*"frames":\([0-9]*\).*/\1/p' "$work/stdout"; }
