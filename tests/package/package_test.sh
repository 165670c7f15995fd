#!/usr/bin/env bash
# The installation ZIP as a user gets it: unpacked, its DLL loaded by the host shell with
# its own menu file and data folder; an entry added in the editor and typed.
set -euo pipefail
build="$1"
source_dir="$2"
work="$build/scratch/package"
rm -rf "$work"
mkdir -p "$work/cpack" "$work/tarnwick" "$work/host/UGII" "$work/host/NXBIN"

(cd "$build" && cpack -G ZIP -B "$work/cpack" >/dev/null)
zip="$work/cpack/Tarnwick-1.0.0-win64.zip"
(cd "$work/tarnwick" && cmake -E tar xf "$zip")

for f in startup/Tarnwick.dll startup/tarnwick.men startup/tarnwick-check.exe data/button_id.ini \
         data/chick.ini data/Tarnwick.macro docs/install.md docs/guide.md LICENSE.txt \
         THIRD-PARTY-NOTICES.txt; do
  [ -f "$work/tarnwick/$f" ] || { echo "package lacks $f"; exit 1; }
done
# One install document, and a DLL without debug information.
[ ! -e "$work/tarnwick/INSTALL.md" ] || { echo "package has a second install document"; exit 1; }
if x86_64-w64-mingw32-objdump -h "$work/tarnwick/startup/Tarnwick.dll" | grep -q debug; then
  echo "the packaged DLL carries debug information"
  exit 1
fi
cmp "$work/tarnwick/startup/tarnwick.men" "$source_dir/resources/tarnwick.men"
cmp "$work/tarnwick/data/button_id.ini" "$source_dir/data/button_id.ini"
# Space mode is the installed default.
cmp "$work/tarnwick/data/chick.ini" "$source_dir/data/chick.ini"
grep -q '^CHECK1=1' "$work/tarnwick/data/chick.ini" || { echo "the package is not in Space mode"; exit 1; }
# The packaged checker finds nothing wrong with the packaged table.
"$build/wine-run" "$work/tarnwick/startup/tarnwick-check.exe" "$work/tarnwick/data/button_id.ini" >/dev/null

for f in tarnwick-host.exe libhostcore.dll libufun.dll libugopenint.dll; do
  cp "$build/bin/$f" "$work/host/UGII/"
done
cp "$build/bin/libugui.dll" "$work/host/NXBIN/"

# The packaged table is empty and Space mode is on: add ZL in the editor, switch
# shortcuts on from the packaged menu, type Z, L and Space.
printf '%s\n' 'part open' 'menu 快捷键设置' 'editor use "快捷键设置"' \
  'editor set 8000 ZL' 'editor set 8001 UG_MODELING_LINE' 'editor set 8002 Line' \
  'editor scope 全局' 'editor click 8004' 'editor click 2' 'menu 开启快捷键' 'type ZL' 'key Space' \
  > "$work/package.script"

transcript="$work/transcript.txt"
(cd "$work/host/UGII" && "$build/wine-run" tarnwick-host.exe \
  --plugin '..\..\tarnwick\startup\Tarnwick.dll' --menu '..\..\tarnwick\startup\tarnwick.men' \
  --tarnwick-dir '..\..\tarnwick' --script '..\..\package.script') > "$transcript"

expect() {
  grep -qF -- "$1" "$transcript" || { echo "transcript lacks: $1"; cat "$transcript"; exit 1; }
}
expect '[start]  ufsta -> status 0'
expect '[menu]   开启快捷键 (TARNWICK_KEY_SET) -> FENNOR_KEY_SET'
expect '[msg]    (flag 1) 打开快捷键成功！'
expect '[run]    host button 4711 UG_MODELING_LINE'
expect '[exit]   ufusr_ask_unload -> 3; ufusr_cleanup; unloaded'
grep -q '^ZL=UG_MODELING_LINE=Line=全局=全局' <(iconv -f GBK -t UTF-8 "$work/tarnwick/data/button_id.ini")
echo "package test passed"
