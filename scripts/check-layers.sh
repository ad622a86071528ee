#!/usr/bin/env bash
# Checks the include layers of src/: each module includes only itself and the modules below it,
# store/, effects/, ffmpeg/ and texts/ include no Qt at all, and nothing outside app/ includes a QtWidgets header.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [store]="store"
  [effects]="effects"
  [ffmpeg]="ffmpeg"
  [media]="media store effects"
  [audio]="audio ffmpeg store"
  [motion]="motion media effects store"
  [production]="production motion media audio ffmpeg effects store"
  [texts]="texts production store"
  [cli]="cli texts production motion media audio ffmpeg effects store"
  [app]="app texts production motion media audio ffmpeg effects store"
)

qt_include_dir="$(pkg-config --variable=includedir Qt6Core 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)"
widgets_headers="$(ls "$qt_include_dir/QtWidgets" 2>/dev/null | grep -v '\.h$' | paste -sd'|' || true)"

failures=0
fail() { echo "layers: $*"; failures=$((failures + 1)); }

for module in "${!allowed[@]}"; do
  [ -d "src/$module" ] || continue
  while IFS=: read -r file line text; do
    target="$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/' <<<"$text")"
    [[ " ${allowed[$module]} " == *" $target "* ]] || fail "$file:$line includes $target/ from $module/"
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "src/$module" || true)

  case "$module" in
    store | effects | ffmpeg | texts)
      while IFS= read -r hit; do fail "$hit: Qt in $module/"; done \
        < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "src/$module" || true)
      ;;
    app) ;;
    *)
      [ -n "$widgets_headers" ] || { fail "QtWidgets headers not found under $qt_include_dir"; continue; }
      while IFS= read -r hit; do fail "$hit: QtWidgets in $module/"; done \
        < <(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<(QtWidgets/.*|($widgets_headers))>" "src/$module" || true)
      ;;
  esac
done

if ((failures)); then
  echo "layers: $failures include(s) break the layers (see docs/ARCHITECTURE.md)"
  exit 1
fi
echo "layers: every include keeps to its layer"
