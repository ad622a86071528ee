#!/usr/bin/env bash
# Installs the dependencies, builds Vistello and starts the window program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTELLO_BUILD_TESTS=OFF
cmake --build build/release --target vistello
exec build/release/bin/vistello "$@"
