#!/usr/bin/env bash
# Runs a Windows program under Wine (ctest's cross-compiling emulator and scripts/run.sh):
# creates the project's Wine prefix once and gives the program a display (Xvfb when none is set).
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
cjk_link_marker="$WINEPREFIX/nx7-cjk-font-link"
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$cjk_link_marker" ]; then
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
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
