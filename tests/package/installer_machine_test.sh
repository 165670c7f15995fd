#!/usr/bin/env bash
# The installer as a site rolls it out, in a fresh 64-bit Wine prefix of its own: each
# refusal with its own exit code, its log line and nothing changed; the longest folder
# the plug-in's paths allow; custom-directories files of any encoding kept byte for
# byte but for the installer's line; TARNWICK_DIR never switched silently; uninstall
# then install in one batch file; the installation for every user, with /SITE=, and
# two users' first starts of the host filling their own data folders.
work_name='installer-machine'
# shellcheck source=installer_prefix.sh
. "$(dirname "$0")/installer_prefix.sh"

reg_type() {
  wine_run reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *\(REG_[A-Z_]*\).*/\1/p" || true
}
wine_user="$(id -un)"
temp="$drive_c/users/$wine_user/Temp"
[ -d "$temp" ] || temp="$(find "$drive_c/users" -maxdepth 2 -name Temp -type d | head -1)"
log() { iconv -f UTF-16LE -t UTF-8 "${1:-$temp/Tarnwick-install.log}" | tr -d '\r'; }
machine_env='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'

site="$drive_c/site"
mkdir -p "$site"
dirs="$site/custom_dirs.dat"
export UGII_CUSTOM_DIRECTORY_FILE='C:\site\custom_dirs.dat'
root='C:\CAD\Tarnwick'
installed="$drive_c/CAD/Tarnwick"

run_installer() { # arguments for the installer; its exit code
  local status=0
  wine_run "$installer" /S "$@" || status=$?
  return $status
}
uninstall() { # folder
  wine_run "$1\\Uninstall.exe" /S || fail "Uninstall.exe exit code $?"
  uninstalled "$1"
}
gbk() { iconv -f UTF-8 -t GBK; }

# --- The folder page: the folder follows the scope chosen unless the user typed one;
# a folder that cannot be made is refused with a message, and nothing is installed.
pages_status=0
wine_run "$installer" >/dev/null 2>&1 &
installer_pid=$!
if ! wine_run "$build/bin/installer-pages.exe" | iconv -f GBK -t UTF-8 | tr -d '\r' > "$work/pages.txt"; then
  cat "$work/pages.txt"
  fail "the installer's pages could not be walked"
fi
wait $installer_pid || pages_status=$?
local_default="C:\\users\\$wine_user\\AppData\\Local\\Programs\\Tarnwick"
printf '%s\n' "folder: $local_default" 'every user: C:\Program Files\Tarnwick' "only me: $local_default" \
  'own folder, every user: C:\Tools\Own' 'own folder, only me: C:\Tools\Own' |
  diff - <(grep -v '^box:' "$work/pages.txt") || fail "the folder page did not follow the scope"
grep -q '^box: .*Q:\\Nowhere\\Tarnwick' "$work/pages.txt" || { cat "$work/pages.txt"; fail "no refusal box on the folder page"; }
[ "$pages_status" -eq 4 ] || fail "the refused folder gave exit code $pages_status, not 4"
[ ! -e "$drive_c/users/$wine_user/AppData/Local/Programs/Tarnwick" ] || fail "the refused run installed into the default folder"

# --- Refusals: own exit code, a log line, and nothing changed anywhere.
printf 'C:\\Site\\Tools\r\n' > "$dirs"
cp "$dirs" "$work/dirs.before"
seg=$(printf 'a%.0s' $(seq 50))
longest="C:\\$seg\\$seg\\$seg\\$seg\\$(printf 'b%.0s' $(seq 23))" # 230 bytes
[ ${#longest} -eq 230 ] || fail "the longest folder is ${#longest} bytes"
han=$(printf '中%.0s' $(seq 50))
refusals=(
  # exit code | arguments | what the log says
  "4|/D=Q:\\Nowhere\\Tarnwick|Cannot create Q:\\Nowhere\\Tarnwick"
  "5|/D=C:\\Tools\\한글|code page 936 cannot hold"
  "6|/D=${longest}x|231 bytes long, more than the 230"
  "6|/D=C:\\$han\\$han\\中中中中中中中中中中中中中中|233 bytes long"
  "4|/D=Tools\\Tarnwick|not a full path"
  "9|/SITE=\\\\server\\한\\site.ini /D=$root|/SITE="
)
for case in "${refusals[@]}"; do
  IFS='|' read -r code arguments says <<<"$case"
  rm -f "$temp/Tarnwick-install.log"
  status=0
  # shellcheck disable=SC2086 # the arguments are split as a command line would be
  run_installer $arguments || status=$?
  [ "$status" -eq "$code" ] || fail "$arguments: exit code $status, not $code"
  log | grep -qF -- "$says" || { log; fail "$arguments: the log does not say: $says"; }
  log | grep -qF -- "Exit code $code." || fail "$arguments: the log lacks its exit code"
  cmp "$dirs" "$work/dirs.before" || fail "$arguments: the custom-directories file changed"
  [ -z "$(reg_value 'HKCU\Software\Tarnwick' InstallDir)" ] || fail "$arguments: recorded an installation"
  [ -z "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" ] || fail "$arguments: set TARNWICK_DIR"
  [ ! -e "$drive_c/users/$wine_user/AppData/Local/Programs/Tarnwick" ] || fail "$arguments: installed into the default folder"
  [ ! -e "$installed" ] || fail "$arguments: made $root"
done
status=0
run_installer '/LOG=C:\nowhere\install.log' "/D=$root" || status=$?
[ "$status" -eq 8 ] || fail "an unwritable /LOG= gave exit code $status, not 8"
[ ! -e "$installed" ] || fail "installed without its log"

# --- /LOG= and a folder given in quotes (NSIS itself would drop it): installed there.
run_installer '/LOG=C:\site\install.log' '/D=C:\With Space\Tarnwick' || fail "exit code $?"
[ -f "$drive_c/With Space/Tarnwick/startup/Tarnwick.dll" ] || fail "not installed into the quoted folder"
log "$site/install.log" | grep -qF 'Installed. Exit code 0.' || fail "/LOG= file lacks the run"
uninstall 'C:\With Space\Tarnwick'
cmp "$dirs" "$work/dirs.before" || fail "the quoted folder's line stayed"

# --- The longest folder works: the host loads the plug-in, finds the table, and the
# first write of the session makes its backup.
host_run() { # transcript file, then options for the host shell
  local out="$1"
  shift
  (cd "$work/host/UGII" && wine_run tarnwick-host.exe "$@") > "$out"
}
run_installer "/D=$longest" || fail "the longest folder: exit code $?"
longest_unix="$(unix_path "$longest")"
printf '%s\n' 'menu 开启快捷键' > "$work/switch.script"
host_run "$work/longest.txt" --plugin "$longest\\startup\\Tarnwick.dll" \
  --menu "$longest\\startup\\tarnwick.men" --script '..\..\switch.script'
for line in '[start]  ufsta -> status 0' '[msg]    (flag 1) 打开快捷键成功！'; do
  grep -qF -- "$line" "$work/longest.txt" || { cat "$work/longest.txt"; fail "longest folder: transcript lacks: $line"; }
done
[ -f "$longest_unix/data/button_id.ini.bak" ] || fail "longest folder: no backup of the table"
uninstall "$longest"

# --- The custom-directories file keeps every byte but the installer's line, whatever
# its encoding; a file it created goes again, an empty one it found stays.
line() { printf '%s\r\n' "$root"; }
utf16() { iconv -f UTF-8 -t UTF-16LE; }
fixture() { # name: writes the fixture's bytes to stdout
  case "$1" in
  mixed) # UTF-8, a broken sequence, a NUL, LF alone, no line end at the end
    printf 'C:\\插件\r\nD:\\Bad\xff\x80\r\nE:\\Nul\x00Here\nF:\\LastNoEnd' ;;
  utf16) printf '\xff\xfe'; printf 'C:\\Site\\工具\r\n' | utf16 ;;
  empty) ;;
  esac
}
expected_addition() {
  case "$1" in
  mixed) printf '\r\n'; line ;;
  utf16) line | utf16 ;;
  empty | missing) line ;;
  esac
}
for case in mixed utf16 empty missing; do
  rm -f "$dirs"
  [ "$case" = missing ] || fixture "$case" > "$dirs"
  run_installer "/D=$root" || fail "$case: exit code $?"
  { [ "$case" = missing ] || fixture "$case"; expected_addition "$case"; } | cmp - "$dirs" ||
    fail "$case: after installing: $(od -c "$dirs" | head -5)"
  # Another add-on's line after the installer's one stays where it is.
  printf 'G:\\Later\r\n' | { [ "$case" = utf16 ] && utf16 || cat; } >> "$dirs"
  uninstall "$root"
  if [ "$case" = missing ]; then
    printf 'G:\\Later\r\n' | cmp - "$dirs" || fail "missing: after uninstalling: $(od -c "$dirs")"
    rm "$dirs"
    run_installer "/D=$root" || fail "missing again: exit code $?"
    uninstall "$root"
    [ ! -e "$dirs" ] || fail "the custom-directories file the installer made stayed: $(od -c "$dirs")"
  else
    { fixture "$case"; printf 'G:\\Later\r\n' | { [ "$case" = utf16 ] && utf16 || cat; }; } | cmp - "$dirs" ||
      fail "$case: after uninstalling: $(od -c "$dirs" | head -5)"
  fi
done
printf 'C:\\Site\\Tools\r\n' > "$dirs"
# An installation recorded by an earlier version, which kept the line as text only.
run_installer "/D=$root" || fail "exit code $?"
for value in CustomDirectoryAdded CustomDirectoryLineBytes CustomDirectoryCreated; do
  wine_run reg delete 'HKCU\Software\Tarnwick' /v $value /f >/dev/null
done
uninstall "$root"
cmp "$dirs" "$work/dirs.before" || fail "an earlier version's line stayed: $(cat -A "$dirs")"

# --- TARNWICK_DIR naming another folder that holds a table: kept (silent), said in
# the log, left by the uninstaller.
mkdir -p "$drive_c/Mine/data"
printf '[MODE]\r\nMODE=0\r\n' > "$drive_c/Mine/data/button_id.ini"
wine_run reg add 'HKCU\Environment' /v TARNWICK_DIR /d 'C:\Mine' /f >/dev/null
rm -f "$temp/Tarnwick-install.log"
run_installer "/D=$root" || fail "exit code $?"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = 'C:\Mine' ] || fail "TARNWICK_DIR switched silently"
log | grep -qF 'TARNWICK_DIR names C:\Mine, which holds a table: kept' || fail "the log does not say TARNWICK_DIR was kept"
uninstall "$root"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = 'C:\Mine' ] || fail "uninstall changed a TARNWICK_DIR it had not set"
# Set by the installer, changed by hand since: an upgrade and the uninstaller keep it.
wine_run reg delete 'HKCU\Environment' /v TARNWICK_DIR /f >/dev/null
run_installer "/D=$root" || fail "exit code $?"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = "$root" ] || fail "TARNWICK_DIR not set"
wine_run reg add 'HKCU\Environment' /v TARNWICK_DIR /d 'C:\Hand' /f >/dev/null
run_installer "/D=$root" || fail "upgrade exit code $?"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = 'C:\Hand' ] || fail "the upgrade overwrote a TARNWICK_DIR set by hand"

# --- Uninstall.exe /S returns when it is done; uninstall then install in one batch
# file leaves a working installation.
wine_run "$root\\Uninstall.exe" /S || fail "Uninstall.exe exit code $?"
[ ! -e "$installed/startup/Tarnwick.dll" ] || fail "Uninstall.exe returned before removing the program"
[ -z "$(reg_value 'HKCU\Software\Tarnwick' InstallDir)" ] || fail "Uninstall.exe returned before removing its record"
[ "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" = 'C:\Hand' ] || fail "uninstall changed a TARNWICK_DIR set by hand"
uninstalled "$root"
(cd "$installed" && find . -type f | sort) | diff - <(printf '%s\n' ./data/Tarnwick.macro ./data/button_id.ini ./data/chick.ini) ||
  fail "uninstall left more or less than the user's data"
wine_run reg delete 'HKCU\Environment' /v TARNWICK_DIR /f >/dev/null
# An earlier version's uninstaller returns at once and goes on from a copy of itself
# in a ~nsu*.tmp folder (here a stand-in that runs until the test lets it end): the
# installer waits until that copy has finished.
mkdir -p "$temp/~nsu1.tmp"
cp "$drive_c/windows/system32/cmd.exe" "$temp/~nsu1.tmp/Au_.exe"
printf '@echo off\r\necho running> C:\\site\\stand-in.running\r\n:hold\r\nping -n 2 127.0.0.1 >nul\r\nif exist C:\\site\\stand-in.hold goto hold\r\n' > "$site/stand-in.cmd"
touch "$site/stand-in.hold"
wine_run 'C:\users\'"$wine_user"'\Temp\~nsu1.tmp\Au_.exe' /c 'C:\site\stand-in.cmd' >/dev/null &
stand_in_pid=$!
until [ -e "$site/stand-in.running" ]; do
  kill -0 $stand_in_pid 2>/dev/null || fail "the stand-in uninstaller did not start"
  sleep 0.1
done
rm -f "$temp/Tarnwick-install.log"
run_installer "/D=$root" &
installer_pid=$!
waiting() { log 2>/dev/null | grep -qF 'An uninstaller is still running'; }
until waiting; do
  kill -0 $installer_pid 2>/dev/null || fail "the installer did not wait for a running uninstaller"
  sleep 0.1
done
rm "$site/stand-in.hold"
wait $installer_pid || fail "exit code $?"
[ ! -e "$temp/~nsu1.tmp/Au_.exe" ] || fail "the installer went on while the uninstaller ran"
wait $stand_in_pid
# That installation, uninstalled and installed again by one batch file.
cp "$installer" "$site/setup.exe"
printf '"%s\\Uninstall.exe" /S\r\nif errorlevel 1 exit 1\r\n"C:\\site\\setup.exe" /S /D=%s\r\n' "$root" "$root" > "$site/again.cmd"
wine_run cmd /c 'C:\site\again.cmd' || fail "the batch file failed: $?"
for f in startup/Tarnwick.dll startup/tarnwick.men docs/guide.md Uninstall.exe data/button_id.ini; do
  [ -f "$installed/$f" ] || fail "uninstall then install left no $f"
done
[ "$(reg_value 'HKCU\Software\Tarnwick' InstallDir)" = "$root" ] || fail "uninstall then install left no record"
{ printf 'C:\\Site\\Tools\r\n'; line; } | cmp - "$dirs" || fail "uninstall then install: $(cat -A "$dirs")"
uninstall "$root"
cmp "$dirs" "$work/dirs.before" || fail "custom-directories file not restored"
rm -rf "$installed"

# --- For every user: the program under Program Files, the line once, the expandable
# TARNWICK_DIR and the site's table for the machine.
rm -f "$temp/Tarnwick-install.log"
run_installer /ALLUSERS '/SITE=\\server\cad\site_button_id.ini' || fail "every user's installation: exit code $?"
machine='C:\Program Files\Tarnwick'
machine_unix="$drive_c/Program Files/Tarnwick"
for f in startup/Tarnwick.dll startup/tarnwick.men data/button_id.ini data/chick.ini data/Tarnwick.macro Uninstall.exe; do
  [ -f "$machine_unix/$f" ] || fail "every user's installation lacks $f"
done
[ "$(reg_type "$machine_env" TARNWICK_DIR)" = REG_EXPAND_SZ ] || fail "machine TARNWICK_DIR is $(reg_type "$machine_env" TARNWICK_DIR)"
[ "$(reg_value "$machine_env" TARNWICK_DIR)" = '%APPDATA%\Tarnwick' ] || fail "machine TARNWICK_DIR: $(reg_value "$machine_env" TARNWICK_DIR)"
[ "$(reg_value "$machine_env" TARNWICK_SITE_TABLE)" = '\\server\cad\site_button_id.ini' ] || fail "no machine TARNWICK_SITE_TABLE"
[ -z "$(reg_value 'HKCU\Environment' TARNWICK_DIR)" ] || fail "every user's installation set the user's TARNWICK_DIR"
[ "$(reg_value 'HKLM\Software\Tarnwick' InstallDir)" = "$machine" ] || fail "no machine record"
[ -n "$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick' UninstallString)" ] || fail "no machine uninstall entry"
{ printf 'C:\\Site\\Tools\r\n'; printf '%s\r\n' "$machine"; } | cmp - "$dirs" || fail "machine line: $(cat -A "$dirs")"
run_installer /ALLUSERS || fail "every user's upgrade: exit code $?"
{ printf 'C:\\Site\\Tools\r\n'; printf '%s\r\n' "$machine"; } | cmp - "$dirs" || fail "the upgrade added the line again"
# One installation per machine: a user's own beside it would load the plug-in twice.
status=0
run_installer "/D=$root" || status=$?
[ "$status" -eq 3 ] || fail "a user's installation beside every user's gave exit code $status, not 3"

# Two users' first starts: each data folder made and filled from the defaults, said
# once; the second start says nothing.
appdata="$(wine_run cmd /c echo %APPDATA% | tr -d '\r')"
first_unix="$(unix_path "$appdata\\Tarnwick")"
plugin=(--plugin "$machine\\startup\\Tarnwick.dll" --menu "$machine\\startup\\tarnwick.men" --script '..\..\switch.script')
host_run "$work/user1.txt" "${plugin[@]}"
mkdir -p "$drive_c/users/other/AppData/Roaming"
host_run "$work/user2.txt" "${plugin[@]}" --tarnwick-dir 'C:\users\other\AppData\Roaming\Tarnwick'
for user in 1 2; do
  folder="$first_unix"
  [ $user = 1 ] || folder="$drive_c/users/other/AppData/Roaming/Tarnwick"
  transcript="$work/user$user.txt"
  for line in '[start]  ufsta -> status 0' '首次启动' '[msg]    (flag 1) 打开快捷键成功！'; do
    grep -qF -- "$line" "$transcript" || { cat "$transcript"; fail "user $user: transcript lacks: $line"; }
  done
  for f in chick.ini Tarnwick.macro; do
    cmp "$folder/data/$f" "$source_dir/data/$f" || fail "user $user: $f not the default"
  done
  grep -q '^MODE=1' "$folder/data/button_id.ini" || fail "user $user: the switch-on did not reach the user's table"
done
grep -q '^MODE=0' "$machine_unix/data/button_id.ini" || fail "a user's switch-on wrote the defaults"
printf 'ZZ=MINE\r\n' >> "$first_unix/data/chick.ini"
cp "$first_unix/data/chick.ini" "$work/chick.mine"
host_run "$work/user1-again.txt" "${plugin[@]}"
grep -qF '首次启动' "$work/user1-again.txt" && fail "the second start filled the data folder again"
cmp "$first_unix/data/chick.ini" "$work/chick.mine" || fail "the second start overwrote the user's settings"

uninstall "$machine"
[ -z "$(reg_value "$machine_env" TARNWICK_DIR)" ] || fail "machine TARNWICK_DIR left behind"
[ -z "$(reg_value "$machine_env" TARNWICK_SITE_TABLE)" ] || fail "machine TARNWICK_SITE_TABLE left behind"
wine_run reg query 'HKLM\Software\Tarnwick' >/dev/null 2>&1 && fail "HKLM\\Software\\Tarnwick left behind"
cmp "$dirs" "$work/dirs.before" || fail "machine uninstall: $(cat -A "$dirs")"
[ ! -e "$machine_unix/startup" ] || fail "machine uninstall left the program"
cmp "$first_unix/data/chick.ini" "$work/chick.mine" || fail "machine uninstall touched a user's data"
echo "installer machine test passed"
