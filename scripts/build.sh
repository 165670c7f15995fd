#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/ (or $TARNWICK_BUILD).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNWICK_BUILD:-$top/build}"
"$top/scripts/setup.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
cmake --build "$build" -- -j"$(nproc)"
