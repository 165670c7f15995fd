#!/usr/bin/env bash
# Pictures the shortcut editor with a few entries into docs/editor.png. Runs the
# editor on Wine's X11 driver inside Xvfb, in the separate X11 prefix (nothing is typed
# there: key names differ on that driver). A Wine virtual desktop draws the window
# frame; "宋体" is replaced by WenQuanYi Micro Hei so that the Chinese texts show.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNWICK_BUILD:-$top/build}"
"$top/scripts/build.sh" >/dev/null
export TARNWICK_GRAPHICS=x11
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$build" "$work" "$top/docs/editor.png" <<'INNER'
set -euo pipefail
build="$1" work="$2" out="$3"
run="$build/wine-run"
"$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 宋体 /d 'WenQuanYi Micro Hei' /f >/dev/null
"$run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f >/dev/null
"$run" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
"$run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null
cd "$build/stage/UGII"
TARNWICK_SCREENSHOT_READY="Z:$work/ready" TARNWICK_SCREENSHOT_DONE="Z:$work/done" \
  "$run" "$build/bin/test_editor_selection.exe" --gtest_also_run_disabled_tests \
  --gtest_filter='EditorScreenshot.*' >"$work/log" 2>&1 &
program=$!
for _ in $(seq 300); do
  [ -s "$work/ready" ] && break
  sleep 0.2
done
if [ ! -s "$work/ready" ]; then
  cat "$work/log"; kill "$program" 2>/dev/null || true
  WINEPREFIX="$build/wineprefix-x11" wineserver -k || true
  echo "screenshot: the editor did not come up" >&2; exit 1
fi
sleep 1
read -r x y w h < <(tr -d "\r" <"$work/ready")
xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left "$x" -top "$y" -width "$w" -height "$h" |
  pnmtopng >"$out"
touch "$work/done"
wait "$program" || true
WINEPREFIX="$build/wineprefix-x11" wineserver -k || true
INNER
echo "screenshot: $top/docs/editor.png"
