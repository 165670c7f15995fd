#!/usr/bin/env bash
# Builds and makes the installation ZIP for 64-bit Windows; prints its path.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNWICK_BUILD:-$top/build}"
"$top/scripts/build.sh" >/dev/null
cd "$build"
cpack -G ZIP >/dev/null
echo "$build/Tarnwick-1.0.0-win64.zip"
