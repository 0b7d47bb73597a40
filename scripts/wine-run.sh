#!/usr/bin/env bash
# Runs a Windows program under Wine (ctest's cross-compiling emulator and scripts/run.sh):
# creates the project's Wine prefix once and gives the program a display (Xvfb when none is set).
#   wine-run.sh PROGRAM ARGS...   runs the program
#   wine-run.sh --keep-server     only makes the prefix and display and keeps one wineserver
#                                 running until two minutes after its last client (ctest's
#                                 wine_prefix fixture), so the tests do not each start one
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-nx7}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# A display counts only when it answers: a machine may keep the socket and lock files of a
# server that no longer runs, and Wine cannot make a single window without a live one.
display_up() { xdpyinfo -display "$1" >/dev/null 2>&1; }
if [ -z "${DISPLAY:-}" ] || ! display_up "$DISPLAY"; then
  display=${NX7_XVFB_DISPLAY:-:77}
  if ! display_up "$display"; then
    # One lock per display, and the server must not inherit the lock's descriptor: a server
    # that held it would block every later start for as long as it runs. Xvfb itself clears
    # the lock file of a server that died.
    ( flock 9; display_up "$display" || {
        setsid Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 < /dev/null 9>&- &
        for _ in $(seq 100); do display_up "$display" && break; sleep 0.1; done; }
    ) 9>"/tmp/nx7-xvfb-${display#:}.lock"
  fi
  display_up "$display" || { echo "wine-run.sh: no X server answers on $display" >&2; exit 1; }
  export DISPLAY=$display
fi
# The prefix is made once, with the display already chosen: Wine keeps the desktop of the first
# process a server runs, and one made without a display can never show a window. Windows draws
# Chinese text in dialog fonts through font links to its own CJK fonts; the prefix links
# Debian's Noto Sans CJK in their place, or every Chinese text would show as boxes.
# Xvfb runs no window manager: Wine's windows are left unmanaged, or every hidden or destroyed
# top-level window waits two seconds for a window manager that never answers.
cjk_link_marker="$WINEPREFIX/nx7-cjk-font-link"
unmanaged_marker="$WINEPREFIX/nx7-unmanaged-windows"
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$cjk_link_marker" ] || [ ! -f "$unmanaged_marker" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  ( flock 9
    [ -f "$WINEPREFIX/system.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
    if [ ! -f "$cjk_link_marker" ]; then
      for face in Tahoma "Microsoft Sans Serif"; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
          /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' /f >/dev/null 2>&1
      done
      wineserver -w
      touch "$cjk_link_marker"
    fi
    if [ ! -f "$unmanaged_marker" ]; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      touch "$unmanaged_marker"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
if [ "${1:-}" = --keep-server ]; then
  # A server that runs already (ctest lists the test programs' cases just before) cannot be made
  # persistent, and ends with its last program: start the persistent one once it has gone. A
  # server that is still there after a few seconds is a persistent one from an earlier run.
  for _ in $(seq 10); do
    wineserver -p 120 2>/dev/null && break
    sleep 0.2
  done
  wine cmd /c exit 0 >/dev/null 2>&1
  exit 0
fi
# Under ctest (NX7_WINE_OUTPUT_FILE=1): Wine's desktop process, started by the first program that
# opens a window and ending a moment after the last one, inherits the program's output. ctest
# waits for every holder of the output pipe, so each test would also wait for the desktop to
# end: the output goes to a file that is shown once the program has ended.
# A test program's list of cases is read by ctest's test discovery, which wants Unix line ends
# and waits for the output pipe in the same way.
listing=0
for arg in "$@"; do if [ "$arg" = --gtest_list_tests ]; then listing=1; fi; done
if [ "${NX7_WINE_OUTPUT_FILE:-}" = 1 ] || [ "$listing" = 1 ]; then
  output=$(mktemp)
  status=0
  if [ "$listing" = 1 ]; then
    wine "$@" >"$output" 2>/dev/null </dev/null || status=$?
    tr -d '\r' <"$output"
  else
    wine "$@" >"$output" 2>&1 </dev/null || status=$?
    cat "$output"
  fi
  rm -f "$output"
  exit "$status"
fi
exec wine "$@"
