#!/usr/bin/env bash
# The Tarnwick demo. Installs what is missing, builds, stages the stand-in host with
# the plug-in and sample data under out/demo/, then
#   1. runs demo/demo.script headless (Wine's null driver) and prints the transcript;
#   2. runs demo/screens.script on Wine's X11 driver inside Xvfb, which types nothing,
#      and prints the paths of the screenshots it saved in out/demo/screenshots/.
# Options:
#   --no-screens  skip step 2
#   --by-hand     stage, then start the host shell on the current X display for a user
# Stage layout (as an NX 12 installation: the working folder is <root>\UGII, and the UI
# library lies in <root>\NXBIN, loaded by the host at start as NX loads its own):
#   out/demo/host/UGII/      tarnwick-host.exe and the host's other libraries (working folder)
#   out/demo/host/NXBIN/     libugui.dll
#   out/demo/host/startup/   Tarnwick.dll and the menu file
#   out/demo/host/scripts/   the demo scripts
#   out/demo/tarnwick/data/  button_id.ini, chick.ini, Tarnwick.macro (TARNWICK_DIR;
#                            made afresh for every run)
#   out/demo/site/           the site's table, button_id.ini, as a share would hold it
#                            (TARNWICK_SITE_TABLE)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNWICK_BUILD:-$top/build}"
out="${TARNWICK_DEMO_OUT:-$top/out/demo}"
mode="${1:-demo}"

fresh_data() {
  rm -rf "$out/tarnwick"
  mkdir -p "$out/tarnwick/data"
  cp "$top/demo/data/button_id.ini" "$top/demo/data/chick.ini" "$top/demo/data/Tarnwick.macro" \
    "$out/tarnwick/data/"
  rm -rf "$out/site"
  mkdir -p "$out/site"
  cp "$top/demo/site/button_id.ini" "$out/site/"
}

# The menu file the project ships: the demo exercises the very bytes the package holds.
menu_file="$top/resources/tarnwick.men"

stage() {
  rm -rf "$out/host" "$out/screenshots"
  mkdir -p "$out/host/UGII" "$out/host/NXBIN" "$out/host/startup" "$out/host/scripts" \
    "$out/screenshots"
  for f in tarnwick-host.exe libhostcore.dll libufun.dll libugopenint.dll; do
    cp "$build/bin/$f" "$out/host/UGII/"
  done
  cp "$build/bin/libugui.dll" "$out/host/NXBIN/"
  cp "$build/bin/Tarnwick.dll" "$out/host/startup/"
  cp "$menu_file" "$out/host/startup/tarnwick.men"
  cp "$top/demo/"*.script "$out/host/scripts/"
  fresh_data
}

# Runs the host shell in the working folder <root>\UGII; paths are given relative to it.
host() {
  (cd "$out/host/UGII" && TARNWICK_SITE_TABLE='..\..\site\button_id.ini' \
    "$build/wine-run" tarnwick-host.exe --tarnwick-dir '..\..\tarnwick' \
    --ui-library '..\NXBIN\libugui.dll' "$@")
}

# The X11 prefix: Chinese needs a CJK font under the names dialogs ask for; a Wine
# virtual desktop draws the window frames that a missing window manager would; Wine
# draws its caption buttons with Marlett, which it finds only in the prefix.
prepare_x11_prefix() {
  export TARNWICK_GRAPHICS=x11
  local prefix="${TARNWICK_WINEPREFIX:-$build/wineprefix-x11}"
  local fonts='HKCU\Software\Wine\Fonts\Replacements'
  for name in SimSun 宋体 NSimSun 新宋体 "Microsoft YaHei" 微软雅黑 "MS Shell Dlg" Tahoma; do
    "$build/wine-run" reg add "$fonts" /v "$name" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
  "$build/wine-run" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$build/wine-run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 \
    /f >/dev/null 2>&1
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  fi
  # The settings hold from the next start of the prefix's processes.
  WINEPREFIX="$prefix" wineserver -w || true
}

screens_inside_x() {
  prepare_x11_prefix
  fresh_data
  host --script '..\scripts\screens.script' --shots '..\..\screenshots' \
    --transcript '..\..\screens-transcript.txt' || true
  WINEPREFIX="${TARNWICK_WINEPREFIX:-$build/wineprefix-x11}" wineserver -w || true
}

case "$mode" in
  --screens-inside-x)
    screens_inside_x
    exit 0
    ;;
  --by-hand)
    if [ -z "${DISPLAY:-}" ]; then
      echo "demo: --by-hand needs an X display (DISPLAY is not set)" >&2
      exit 2
    fi
    "$top/scripts/build.sh" >&2
    stage
    prepare_x11_prefix
    # Wine's X11 driver names Space "space", so Space mode cannot work there; the data
    # starts in immediate mode (Windows itself needs no such change).
    printf '[CHECK1]\r\nCHECK1=0\r\n' >"$out/tarnwick/data/chick.ini"
    echo "demo: the host shell runs on display $DISPLAY; menu 快捷键 -> 开启快捷键, then type" \
      "codes (L, E, BL in module 40) in the graphics area; close the window to end" >&2
    host
    exit 0
    ;;
  demo | --no-screens) ;;
  *)
    echo "usage: scripts/demo.sh [--no-screens | --by-hand]" >&2
    exit 2
    ;;
esac

"$top/scripts/build.sh" >&2
stage

echo "== Transcript of demo/demo.script (null driver) =="
host --script '..\scripts\demo.script' | tee "$out/transcript.txt"

if [ "$mode" = --no-screens ]; then exit 0; fi
echo
echo "== Screenshots (X11 driver in Xvfb; nothing typed) =="
xvfb-run -a -s "-screen 0 1280x800x24" "$0" --screens-inside-x
shots=("$out/screenshots/"*.png)
if [ -e "${shots[0]}" ]; then
  for s in "${shots[@]}"; do echo "$s"; done
else
  echo "no screenshots were saved (see $out/screens-transcript.txt)"
fi
