#!/usr/bin/env bash
# Checks that every C++ file of the repository is formatted as .clang-format says (clang-format
# 14, Debian 12's). `scripts/check-format.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format="$(command -v clang-format-14 || command -v clang-format)"
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' 2>/dev/null || find src tests bench fuzz -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = --fix ]; then
  "$clang_format" -i "${files[@]}"
  exit 0
fi
if "$clang_format" --dry-run -Werror "${files[@]}"; then
  echo "format: ${#files[@]} files as .clang-format says"
else
  echo "format: the files above differ from .clang-format; scripts/check-format.sh --fix mends them"
  exit 1
fi
