#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine (Xvfb when no display is set). Wine sees no
# NX7, so the program then works on the virtual mouse (its --virtual switch).
#   scripts/run.sh            build, then start the program
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native windows
win=$root/build/windows

# The program as a user gets it: an empty macro library beside it (Macro.cfg, 500 entries of 4104
# bytes, all zero), as shipped; without it the program says at start that it cannot find it.
[ -f "$win/Macro.cfg" ] || head -c 2052000 /dev/zero > "$win/Macro.cfg"
# A real NX7 answers nx7ctl's version query; without one the program runs on the virtual mouse.
args=()
if ! bash "$root/scripts/wine-run.sh" "$win/tools/nx7ctl/nx7ctl.exe" version >/dev/null 2>&1; then
  echo "No NX7 found: starting NX7Driver.exe on the virtual mouse (--virtual)."
  args=(--virtual)
fi
exec bash "$root/scripts/wine-run.sh" "$win/NX7Driver.exe" "${args[@]}"
