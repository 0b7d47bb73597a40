#!/usr/bin/env bash
# The installer as a deployment script and a user meet it, under Wine: a silent install, the
# installed program started on the virtual mouse and ended, a silent upgrade over a changed
# profile while the program runs, the entry's quiet uninstall, then a reinstall and an uninstall
# by hand whose question is answered Yes. After every step the files and the registry are read
# back.
#   installer_test.sh PACKAGE_DIR NX7_POST_EXE
# The zip is compared with the same program folder first.
# PACKAGE_DIR holds the packages and stage/ as scripts/package.sh leaves them. The test takes the
# prefix's Program Files\Vorna\NX7 and HKLM\Software\VORNA\NX7 for its run and puts the registry
# key back as it found it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
package=$(cd "$1" && pwd)
post=$2
version=$(head -n 1 "$root/VERSION")
setup=$package/NX7-$version-setup.exe
stage=$package/stage/NX7-$version-win64
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-nx7}
export WINEDEBUG=-all
# No desktop entries on the Linux side for the shortcuts the installer makes.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

install_dir_win='C:\Program Files\Vorna\NX7'
install_dir=$WINEPREFIX/drive_c/Program\ Files/Vorna/NX7
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vorna NX7 Gaming Mouse.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\VornaNX7'
settings_key='HKLM\Software\VORNA\NX7'
title='Vorna NX7 Gaming Mouse Driver'
# The uninstaller's window is titled with its caption and the page's subcaption (a space), its
# question box with the caption alone.
uninstall_window="Vorna NX7 Gaming Mouse $version Uninstall "
question_box="Vorna NX7 Gaming Mouse $version Uninstall"
work=$(mktemp -d)
failures=0
checks=0

wine_run() { bash "$root/scripts/wine-run.sh" "$@"; }
check() {  # check DESCRIPTION COMMAND...: one assertion; the run goes on after a failure
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
fatal() { echo "FAIL $*"; failures=$((failures + 1)); finish; }
reg_value() {  # reg_value KEY NAME: the value's data as reg prints it, or nothing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
key_absent() { ! key_exists "$1"; }
same_file() { cmp -s "$1" "$2"; }
equals() { [ "$1" = "$2" ] || { echo "     got '$1', want '$2'"; return 1; }; }

program_pid=
end_program() {  # a program this test started and that is still running ends by its id
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid" 2>/dev/null || true; fi
  program_pid=
}
backup=$work/settings-backup.reg
had_settings=0
cleanup() {
  end_program
  # An uninstaller this test left open: No to its question, then its window closed.
  wine_run "$post" "$question_box" 0x111 7 >/dev/null 2>&1 && sleep 1
  wine_run "$post" "$uninstall_window" 0x10 >/dev/null 2>&1 || true
  wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
  if [ "$had_settings" = 1 ]; then wine reg import "Z:${backup//\//\\}" >/dev/null 2>&1 || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
finish() {
  echo "$((checks - failures)) passed, $failures failed"
  [ "$failures" = 0 ] && exit 0 || exit 1
}

# Every staged file, relative to the program folder (Macro.cfg is the user's once installed).
mapfile -t staged < <(cd "$stage" && find . -type f ! -name Macro.cfg | sed 's#^\./##' | LC_ALL=C sort)
[ -f "$setup" ] && [ ${#staged[@]} -gt 20 ] || fatal "no packages in $package: run scripts/package.sh"
all_installed() {
  local f
  for f in "${staged[@]}"; do
    cmp -s "$stage/$f" "$install_dir/$f" || { echo "     $f differs or is missing"; return 1; }
  done
}
none_left() {
  local f
  for f in "${staged[@]}" Uninstall.exe; do
    [ ! -e "$install_dir/$f" ] || { echo "     $f is still there"; return 1; }
  done
}

# A fresh machine: no earlier installation of the program and no settings of it.
if key_exists "$settings_key"; then
  wine reg export "$settings_key" "Z:${backup//\//\\}" /y >/dev/null 2>&1 && had_settings=1
fi
wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
rm -rf "$install_dir" "$shortcut"

# --- The version of the packaged program, read from its version resource.
version_resource() {
  python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
fixed = data.find(struct.pack('<I', 0xFEEF04BD))
ms, ls, pms, pls = struct.unpack_from('<4I', data, fixed + 8)
def text(key):
    k = (key + '\0').encode('utf-16-le')
    at = data.find(k)
    at += len(k)
    at += (4 - at % 4) % 4
    end = data.find(b'\0\0', at)
    while (end - at) % 2: end = data.find(b'\0\0', end + 1)
    return data[at:end].decode('utf-16-le')
fv = f'{ms >> 16}.{ms & 0xffff}.{ls >> 16}.{ls & 0xffff}'
pv = f'{pms >> 16}.{pms & 0xffff}.{pls >> 16}.{pls & 0xffff}'
print(fv, pv, text('FileVersion'), text('ProductVersion'))
PY
}
check "NX7Driver.exe's version resource names $version" \
  equals "$(version_resource "$stage/NX7Driver.exe")" "$version.0 $version.0 $version.0 $version"
check "the installer's version resource names $version" \
  equals "$(version_resource "$setup" | cut -d' ' -f1,3,4)" "$version.0 $version.0 $version"

# --- The zip holds the program folder as staged, under the package's name.
zip_matches_stage() {
  python3 -m zipfile -e "$package/NX7-$version-win64.zip" "$work/zip" &&
    diff -r "$stage" "$work/zip/NX7-$version-win64" && [ "$(ls "$work/zip")" = "NX7-$version-win64" ]
}
check "the zip unpacks to NX7-$version-win64 with every file of the package" zip_matches_stage

# --- Install.
status=0; wine_run "$setup" /S >/dev/null || status=$?
check "silent install exits 0" equals "$status" 0
check "every file of the package is installed unchanged" all_installed
check "the empty macro library is installed" same_file "$stage/Macro.cfg" "$install_dir/Macro.cfg"
check "the uninstaller is installed" test -s "$install_dir/Uninstall.exe"
shortcut_target() { strings -a "$shortcut" | grep -qxF "$install_dir_win\NX7Driver.exe"; }
check "the Start-menu shortcut points at the program" shortcut_target
check "DisplayName" equals "$(reg_value "$uninstall_key" DisplayName)" "Vorna NX7 Gaming Mouse"
check "DisplayVersion" equals "$(reg_value "$uninstall_key" DisplayVersion)" "$version"
check "Publisher" equals "$(reg_value "$uninstall_key" Publisher)" "Vorna"
check "InstallLocation" equals "$(reg_value "$uninstall_key" InstallLocation)" "$install_dir_win"
check "UninstallString" equals "$(reg_value "$uninstall_key" UninstallString)" "\"$install_dir_win\\Uninstall.exe\""
check "QuietUninstallString" equals "$(reg_value "$uninstall_key" QuietUninstallString)" "\"$install_dir_win\\Uninstall.exe\" /S"
size_kb=$(find "$install_dir" -type f -printf '%s\n' | awk '{ s += $1 } END { print int(s / 1024) }')
estimated=$(( $(reg_value "$uninstall_key" EstimatedSize) ))
check "EstimatedSize ($estimated KB) is the folder's size ($size_kb KB)" \
  test "$estimated" -ge $((size_kb - 64)) -a "$estimated" -le $((size_kb + 64))
out=$(wine_run "$install_dir_win\\nx7ctl.exe" --version | tr -d '\r')
check "the installed nx7ctl.exe names $version" equals "$out" "nx7ctl $version"

# --- The installed program starts on the virtual mouse and ends through its tray menu's Exit.
start_program() {  # start_program LOG REPORT: until its window is shown (its report is written)
  wine_run "$install_dir_win\\NX7Driver.exe" --virtual --report "Z:${2//\//\\}" >"$1" 2>&1 &
  program_pid=$!
  local i
  for i in $(seq 120); do [ -s "$2" ] && return 0; kill -0 "$program_pid" 2>/dev/null || break; sleep 0.5; done
  return 1
}
program_status=
wait_program() {  # wait_program SECONDS: program_status is its exit status, or "running"
  local i
  program_status=running
  for i in $(seq $(($1 * 4))); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      program_status=0; wait "$program_pid" || program_status=$?; program_pid=; return
    fi
    sleep 0.25
  done
}
check "the installed program shows its window on the virtual mouse" start_program "$work/run1.log" "$work/report1.txt"
check "its report names the start-up time" grep -q '^startup_ms [0-9]' "$work/report1.txt"
check "its window is there" wine_run "$post" "$title" 0
wine_run "$post" "$title" 0x111 0x6001 || true
wait_program 30
check "Exit ends it with status 0" equals "$program_status" 0
check "it made its first profile beside itself" test "$(stat -c %s "$install_dir/Profile/Profile1.cfg" 2>/dev/null)" = 22252
check "it saved its statistics at exit" test -n "$(reg_value "$settings_key\\STS" LeftClickCount)"
end_program

# --- Upgrade over a changed profile and macro library, with the program running: the installer
# ends it, replaces the program's files, and keeps the user's.
cp "$install_dir/Profile/Profile1.cfg" "$work/profile-fresh.cfg"
python3 - "$install_dir/Profile/Profile1.cfg" "$install_dir/Macro.cfg" <<'PY'
import struct, sys
with open(sys.argv[1], 'r+b') as f:   # pointer speed 17
    f.seek(22232); f.write(struct.pack('<i', 17))
with open(sys.argv[2], 'r+b') as f:   # something in the first macro entry
    f.seek(8); f.write(b'upgrade keeps me')
PY
cp "$install_dir/Profile/Profile1.cfg" "$work/profile-changed.cfg"
cp "$install_dir/Macro.cfg" "$work/macro-changed.cfg"
check "the changed profile differs from the fresh one" bash -c "! cmp -s '$work/profile-changed.cfg' '$work/profile-fresh.cfg'"
echo stale > "$install_dir/Language/en.xml"
echo stale > "$install_dir/skins/left-from-an-earlier-version.bmp"
check "the program runs again before the upgrade" start_program "$work/run2.log" "$work/report2.txt"
status=0; wine_run "$setup" /S >/dev/null || status=$?
check "silent upgrade exits 0" equals "$status" 0
wait_program 30
check "the upgrade ended the running program with status 0" equals "$program_status" 0
end_program
check "the changed profile is kept" same_file "$work/profile-changed.cfg" "$install_dir/Profile/Profile1.cfg"
check "the changed macro library is kept" same_file "$work/macro-changed.cfg" "$install_dir/Macro.cfg"
check "the program's files are the package's again" all_installed
check "a skin file of an earlier version is gone" test ! -e "$install_dir/skins/left-from-an-earlier-version.bmp"
check "the entry still names $version" equals "$(reg_value "$uninstall_key" DisplayVersion)" "$version"

# --- Silent uninstall through the entry's quiet command: the program's files go, the user's stay.
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
uninstaller=$(printf '%s' "$quiet" | sed -n 's/^"\(.*\)" \/S$/\1/p')
check "the quiet command is the uninstaller with /S" test -n "$uninstaller"
[ -n "$uninstaller" ] || finish
status=0; wine_run "$uninstaller" /S >/dev/null || status=$?
check "silent uninstall starts with status 0" equals "$status" 0
# The uninstaller goes on from a copy of itself in the temporary folder; the entry goes last.
for _ in $(seq 120); do key_exists "$uninstall_key" || break; sleep 0.5; done
check "the Apps & features entry is gone" key_absent "$uninstall_key"
check "every installed program file is gone" none_left
check "the Start-menu shortcut is gone" test ! -e "$shortcut"
for d in skins Language; do check "the $d folder is gone" test ! -e "$install_dir/$d"; done
check "the profiles are kept" same_file "$work/profile-changed.cfg" "$install_dir/Profile/Profile1.cfg"
check "the macros are kept" same_file "$work/macro-changed.cfg" "$install_dir/Macro.cfg"
check "the program's settings are kept" key_exists "$settings_key\\STS"
check "nothing else is left in the folder" \
  equals "$(cd "$install_dir" && find . | LC_ALL=C sort | tr '\n' ' ')" ". ./Macro.cfg ./Profile ./Profile/Profile1.cfg "

# --- A later installation finds the kept files; uninstalling by hand asks, and Yes removes them.
status=0; wine_run "$setup" /S >/dev/null || status=$?
check "installing again exits 0" equals "$status" 0
check "the kept profile is there again" same_file "$work/profile-changed.cfg" "$install_dir/Profile/Profile1.cfg"
check "the kept macros are not replaced" same_file "$work/macro-changed.cfg" "$install_dir/Macro.cfg"
press() {  # press TITLE CONTROL_ID: a click on that window's button, once the window is there
  local i
  for i in $(seq 60); do wine_run "$post" "$1" 0x111 "$2" && return 0; sleep 0.5; done
  return 1
}
wine_run "$install_dir_win\\Uninstall.exe" >/dev/null || true
check "the uninstaller shows its confirmation page (Uninstall)" press "$uninstall_window" 1
check "it asks about the profiles and macros (Yes)" press "$question_box" 6
for _ in $(seq 60); do key_exists "$uninstall_key" || break; sleep 0.5; done
press "$uninstall_window" 1 >/dev/null 2>&1 || true  # Close
check "the Apps & features entry is gone" key_absent "$uninstall_key"
check "Yes removed the program's whole folder" test ! -e "$install_dir"
check "Yes removed the program's settings" key_absent "$settings_key"

rm -rf "$install_dir"
rmdir "$WINEPREFIX/drive_c/Program Files/Vorna" 2>/dev/null || true
finish
