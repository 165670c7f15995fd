#!/usr/bin/env bash
# Builds and makes the installation package for 64-bit Windows: the ZIP and the
# installer (NSIS); prints both paths.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNWICK_BUILD:-$top/build}"
"$top/scripts/build.sh" >/dev/null
cd "$build"
cpack >/dev/null
echo "$build/Tarnwick-1.0.0-win64.zip"
echo "$build/Tarnwick-1.0.0-win64.exe"
