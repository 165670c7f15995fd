#!/usr/bin/env bash
# Builds everything and runs every test under Wine; prints CTest's summary. Tests run
# side by side where they share nothing (the locks in tests/CMakeLists.txt).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNWICK_BUILD:-$top/build}"
"$top/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
