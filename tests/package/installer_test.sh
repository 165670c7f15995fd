#!/usr/bin/env bash
# The installer's round trip in a fresh 64-bit Wine prefix of its own, silent as a site
# rolls it out: install beside a site's custom-directories file and an older
# TARNWICK_DIR; edit the table; install again (upgrade) and find the table untouched;
# load the installed plug-in in the host shell and type a code; uninstall and find only
# the user's data left and the site's file and variable as they were. Then a site that
# moved to another custom-directories file, the host found through UGII_BASE_DIR with
# the folder already listed, a second installation folder, and a custom-directories
# file that cannot be written.
work_name=installer
# shellcheck source=installer_prefix.sh
. "$(dirname "$0")/installer_prefix.sh"

# A 32-bit installer would run on the 64-bit-only Wine, do nothing and exit 0: the
# image must be x86-64 (PE machine 0x8664).
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}
[ "$(pe_machine "$installer")" = 8664 ] || fail "installer is not x86-64: $(pe_machine "$installer")"

environment() { # the user's environment key as reg shows it, for failure messages
  wine_run reg query 'HKCU\Environment' 2>&1 | tr -d '\r' | tr '\n' '|' || true
}

root='C:\CAD\Tarnwick'
installed="$drive_c/CAD/Tarnwick"
site="$drive_c/site"
mkdir -p "$site"
# The site's list of custom directories; a GBK line among them must survive as bytes.
printf 'C:\\Site\\Tools\r\nC:\\%s\r\n' "$(printf '站点' | iconv -f UTF-8 -t GBK)" > "$site/custom_dirs.dat"
cp "$site/custom_dirs.dat" "$work/custom_dirs.before"
wine_run reg add 'HKCU\Environment' /v TARNWICK_DIR /d 'C:\Old\Tarnwick' /f >/dev/null
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = 'C:\Old\Tarnwick' ] ||
  fail "the older TARNWICK_DIR was not set: $(environment)"

install() { # extra environment assignments for the installer, if any
  local status=0
  env "$@" TARNWICK_WINEPREFIX="$prefix" "$build/wine-run" "$installer" /S "/D=$root" || status=$?
  return $status
}
uninstall() {
  wine_run "$root\\Uninstall.exe" /S
  uninstalled "$root"
}

# --- First installation.
install UGII_CUSTOM_DIRECTORY_FILE='C:\site\custom_dirs.dat' || fail "installer exit code $?"
for f in startup/Tarnwick.dll startup/tarnwick.men data/button_id.ini data/chick.ini \
         data/Tarnwick.macro docs/install.md docs/guide.md LICENSE.txt \
         THIRD-PARTY-NOTICES.txt Uninstall.exe; do
  [ -f "$installed/$f" ] || fail "installation lacks $f"
done
cmp "$installed/startup/tarnwick.men" "$source_dir/resources/tarnwick.men"
for f in button_id.ini chick.ini Tarnwick.macro; do
  cmp "$installed/data/$f" "$source_dir/data/$f"
done
[ "$(pe_machine "$installed/Uninstall.exe")" = 8664 ] || fail "uninstaller is not x86-64"
x86_64-w64-mingw32-objdump -h "$installed/startup/Tarnwick.dll" | grep -q debug &&
  fail "the installed DLL carries debug information"
{ cat "$work/custom_dirs.before"; printf '%s\r\n' "$root"; } > "$work/custom_dirs.installed"
cmp "$site/custom_dirs.dat" "$work/custom_dirs.installed" || fail "custom_dirs.dat: $(cat -A "$site/custom_dirs.dat")"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = "$root" ] || fail "TARNWICK_DIR not set: $(environment)"
[ "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick' UninstallString)" = "\"$root\\Uninstall.exe\"" ] ||
  fail "no uninstall entry"

# --- The user's own table and settings; a missing macro file comes back on upgrade.
gbk() { iconv -f UTF-8 -t GBK; }
printf '[MODE]\r\nMODE=1\r\n[全局]\r\nZL=UG_MODELING_LINE=Line=全局=全局\r\n' | gbk > "$installed/data/button_id.ini"
printf '[CHECK1]\r\nCHECK1=0\r\n' > "$installed/data/chick.ini"
rm "$installed/data/Tarnwick.macro"
cp "$installed/data/button_id.ini" "$work/table.mine"
cp "$installed/data/chick.ini" "$work/settings.mine"
echo 'an old version' > "$installed/docs/guide.md"

install UGII_CUSTOM_DIRECTORY_FILE='C:\site\custom_dirs.dat' || fail "upgrade exit code $?"
cmp "$installed/data/button_id.ini" "$work/table.mine" || fail "upgrade changed the table"
cmp "$installed/data/chick.ini" "$work/settings.mine" || fail "upgrade changed the settings"
[ -f "$installed/data/Tarnwick.macro" ] || fail "upgrade did not restore Tarnwick.macro"
cmp "$installed/docs/guide.md" "$source_dir/docs/guide.md" || fail "upgrade kept an old program file"
cmp "$site/custom_dirs.dat" "$work/custom_dirs.installed" || fail "upgrade listed the folder twice"

# --- The installed plug-in in the host shell; TARNWICK_DIR comes from the user's
# environment the installer set. Shortcuts start on (MODE=1), immediate mode.
printf '%s\n' 'part open' 'type ZL' > "$work/host.script"
(cd "$work/host/UGII" && wine_run tarnwick-host.exe --plugin "$root\\startup\\Tarnwick.dll" \
  --menu "$root\\startup\\tarnwick.men" --script '..\..\host.script') > "$work/transcript.txt"
for line in '[start]  ufsta -> status 0' '[msg]    (flag 1) 打开快捷键成功！' \
            '[run]    host button 4711 UG_MODELING_LINE'; do
  grep -qF -- "$line" "$work/transcript.txt" || { cat "$work/transcript.txt"; fail "transcript lacks: $line"; }
done
cp "$installed/data/button_id.ini" "$work/table.mine"

# --- Uninstall: the user's data stays, as it was; nothing else of the installation.
uninstall
(cd "$installed" && find . -type f | sort) > "$work/left"
printf '%s\n' ./data/Tarnwick.macro ./data/button_id.ini ./data/chick.ini | diff - "$work/left" ||
  fail "uninstall left more or less than the user's data"
cmp "$installed/data/button_id.ini" "$work/table.mine" || fail "uninstall changed the table"
cmp "$site/custom_dirs.dat" "$work/custom_dirs.before" || fail "custom_dirs.dat not restored: $(cat -A "$site/custom_dirs.dat")"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = 'C:\Old\Tarnwick' ] || fail "TARNWICK_DIR not restored: $(environment)"
wine_run reg query 'HKCU\Software\Tarnwick' >/dev/null 2>&1 && fail "HKCU\\Software\\Tarnwick left behind"
wine_run reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick' >/dev/null 2>&1 &&
  fail "uninstall entry left behind"

# --- The site moved to another custom-directories file between two versions: the
# upgrade registers in the new file and takes its line out of the old one.
printf 'C:\\Site\\Tools\r\n' > "$site/moved.dat"
cp "$site/moved.dat" "$work/moved.before"
install UGII_CUSTOM_DIRECTORY_FILE='C:\site\custom_dirs.dat' || fail "installer exit code $?"
install UGII_CUSTOM_DIRECTORY_FILE='C:\site\moved.dat' || fail "upgrade exit code $?"
cmp "$site/custom_dirs.dat" "$work/custom_dirs.before" || fail "the upgrade left its line in the old file"
{ cat "$work/moved.before"; printf '%s\r\n' "$root"; } | cmp - "$site/moved.dat" ||
  fail "the upgrade did not register in the new file"
uninstall
cmp "$site/moved.dat" "$work/moved.before" || fail "uninstall left its line in the new file"

# --- The host found through UGII_BASE_DIR; its file lists the folder already (another
# letter case, a trailing backslash): left alone by both. No TARNWICK_DIR before.
wine_run reg delete 'HKCU\Environment' /v TARNWICK_DIR /f >/dev/null
mkdir -p "$drive_c/NX/UGII/menus"
printf 'c:\\cad\\tarnwick\\\r\n' > "$drive_c/NX/UGII/menus/custom_dirs.dat"
cp "$drive_c/NX/UGII/menus/custom_dirs.dat" "$work/base.before"
install UGII_BASE_DIR='C:\NX' || fail "install through UGII_BASE_DIR: exit code $?"
cmp "$drive_c/NX/UGII/menus/custom_dirs.dat" "$work/base.before" || fail "a listed folder was added again"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = "$root" ] || fail "TARNWICK_DIR not set: $(environment)"
# A second installation in another folder is refused: it would take over the first
# one's record of what to take back.
status=0
env UGII_BASE_DIR='C:\NX' TARNWICK_WINEPREFIX="$prefix" "$build/wine-run" "$installer" /S '/D=C:\Other' || status=$?
[ "$status" -eq 3 ] || fail "a second installation folder gave exit code $status, not 3"
[ ! -e "$drive_c/Other" ] || fail "a second installation folder was filled"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = "$root" ] || fail "TARNWICK_DIR moved to a refused folder: $(environment)"
uninstall
cmp "$drive_c/NX/UGII/menus/custom_dirs.dat" "$work/base.before" || fail "uninstall removed a line it had not added"
[ -z "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" ] || fail "TARNWICK_DIR left behind: $(environment)"

# --- A custom-directories file that cannot be written (here: its folder does not
# exist; file permissions do not hold for root): a failure, and nothing installed.
rm -rf "$installed"
status=0
install UGII_CUSTOM_DIRECTORY_FILE='C:\nowhere\custom_dirs.dat' || status=$?
[ "$status" -eq 2 ] || fail "an unwritable custom-directories file gave exit code $status, not 2"
[ ! -e "$installed/startup" ] || fail "installed although the host could not be told"
[ -z "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" ] || fail "TARNWICK_DIR set by a failed installation"
echo "installer test passed"
