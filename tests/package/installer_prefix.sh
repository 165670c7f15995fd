# Sourced by the installer's tests, with the test's arguments (BUILD SOURCE_DIR) and
# work_name set: a fresh 64-bit Wine prefix of the test's own in build/scratch/work_name,
# one Wine server for all its programs, the stand-in host staged beside it, and the
# installer the test package_installer_make made.
# shellcheck shell=bash
set -euo pipefail
build="$1"
# shellcheck disable=SC2034 # the tests' own
source_dir="$2"
work="$build/scratch/${work_name:?}"
prefix="$work/prefix"
installer="$build/scratch/installer-package/Tarnwick-1.0.0-win64.exe"
rm -rf "$work"
mkdir -p "$work/host/UGII" "$work/host/NXBIN"

fail() {
  echo "FAIL: $*"
  exit 1
}
[ -f "$installer" ] || fail "no installer $installer (package_installer_make makes it)"

# No inherited settings: the prefix's registry and the site files are all there is.
unset TARNWICK_DIR TARNWICK_SITE_TABLE UGII_CUSTOM_DIRECTORY_FILE UGII_BASE_DIR
wine_run() { TARNWICK_WINEPREFIX="$prefix" "$build/wine-run" "$@"; }
reg_value() { # key name: the value's data, empty when absent
  wine_run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p" || true
}
# The first program creates the prefix; what that starts (the prefix's set-up, its
# services) goes on after it and writes the registry: nothing of the test may overlap it.
wine_run cmd /c exit 0
wine_run --server -w
# Then one server and its services for every program of the test: a program that finds
# none starts them, and they stop seconds after it ends. They outlive the programs that
# start them, so none may hold CTest's output pipe; five idle minutes bound a server
# whose test was killed.
wine_run --server -p300 </dev/null >/dev/null 2>&1
trap 'wine_run --server -k </dev/null >/dev/null 2>&1 || true' EXIT
wine_run cmd /c exit 0 </dev/null >/dev/null 2>&1
drive_c="$prefix/drive_c"
unix_path() { # a path on drive C: as this machine names it
  local path="$drive_c/${1:3}"
  printf '%s\n' "${path//\\//}"
}
# The uninstaller returns once a last copy of itself runs that takes Uninstall.exe as
# soon as it has exited: the uninstallation is over when that file is gone.
uninstalled() { # folder
  local left
  left="$(unix_path "$1")/Uninstall.exe"
  for _ in $(seq 300); do
    [ -e "$left" ] || return 0
    sleep 0.1
  done
  fail "$1\\Uninstall.exe still there 30 s after the uninstaller returned"
}

for f in tarnwick-host.exe libhostcore.dll libufun.dll libugopenint.dll; do
  cp "$build/bin/$f" "$work/host/UGII/"
done
cp "$build/bin/libugui.dll" "$work/host/NXBIN/"
