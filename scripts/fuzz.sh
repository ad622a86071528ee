#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each in turn for SECONDS
# (default 30) on a scratch copy of its corpus, so the committed corpus stays as it is.
# A crash, a leak, a memory finding or an input slower than the timeout stops the run with the
# target's report; its input is kept in build/fuzz/artifacts/.
# The seed is fixed (FUZZ_SEED, default 1), so that a finding in CI can be replayed here.
#   scripts/fuzz.sh [SECONDS] [TARGET-PATTERN]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
pattern="${2:-.}"
seed="${FUZZ_SEED:-1}"
# An input slower than this is a finding. The slowest honest inputs of the corpora take under
# a second here, and the metafile players refuse a drawing over their work budget (under two
# seconds of painting); the margin is for a CI machine loaded by other builds.
timeout="${FUZZ_TIMEOUT:-10}"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVISTELLO_BUILD_FUZZ=ON -DVISTELLO_BUILD_TESTS=OFF -DVISTELLO_BUILD_BENCH=OFF >/dev/null
mapfile -t lines < <(grep -E "^fuzz_[^ ]*${pattern}" build/fuzz/fuzz_targets.txt || true)
((${#lines[@]})) || { echo "fuzz: no target matches '$pattern'"; exit 2; }
cmake --build build/fuzz --target $(printf '%s\n' "${lines[@]}" | cut -d' ' -f1)

# A small quarantine keeps freed memory from counting against the process size. Even so, the
# PNG target's process grows past 2 GB in 30 s while its live heap stays under 30 MB, so the
# limit on the whole process is 6 GB; any single allocation over 2 GB is still a finding.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:quarantine_size_mb=32:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
export QT_QPA_PLATFORM=offscreen
mkdir -p build/fuzz/artifacts build/fuzz/logs

for line in "${lines[@]}"; do
  read -r target corpus <<<"$line"
  scratch="$(mktemp -d)"
  log="build/fuzz/logs/$target.log"
  if build/fuzz/bin/"$target" -max_total_time="$seconds" -seed="$seed" -print_final_stats=1 -timeout="$timeout" \
    -rss_limit_mb=6144 -malloc_limit_mb=2048 -artifact_prefix="build/fuzz/artifacts/$target-" "$scratch" "$corpus" >"$log" 2>&1; then
    runs="$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')"
    echo "fuzz: $target ran ${seconds} s, ${runs:-?} inputs ($((${runs:-0} / seconds)) a second), no finding"
    rm -rf "$scratch"
  else
    echo "fuzz: $target FAILED (seed $seed); the end of its log:"
    tail -n 60 "$log"
    # The input itself, so that a finding in a throw-away CI tree can be replayed here.
    for artifact in build/fuzz/artifacts/"$target"-*; do
      [ -f "$artifact" ] || continue
      echo "fuzz: $(basename "$artifact") as base64 (first 64 KiB):"
      head -c 65536 "$artifact" | base64 -w 0
      echo
    done
    rm -rf "$scratch"
    exit 1
  fi
done
