#!/usr/bin/env bash
# Builds the Windows program and runs it under Wine (Xvfb when no display is set). Wine sees no
# NX7, so the device commands work on the virtual mouse (the --virtual switch of the programs).
#   scripts/run.sh            build, then start the program (or the command-line walk-through below)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" native windows
win=$root/build/windows
run() { echo "+ $*"; bash "$root/scripts/wine-run.sh" "$@"; }

if [ -f "$win/NX7Driver.exe" ]; then
  exec bash "$root/scripts/wine-run.sh" "$win/NX7Driver.exe"
fi

# The main window is not part of the build yet: walk through what the program does on the
# virtual mouse with nx7ctl.exe, the same code the program runs.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
ctl=$win/tools/nx7ctl/nx7ctl.exe
run "$ctl" version --virtual
run "$ctl" defaults Profile1.cfg
run "$ctl" show Profile1.cfg
if bash "$root/scripts/wine-run.sh" "$ctl" apply --help >/dev/null 2>&1; then
  run "$ctl" apply Profile1.cfg --virtual --trace trace.txt --state state.json
  echo "--- the reports of that download (trace) ---"; cat trace.txt
  echo "--- the virtual mouse afterwards ---"; cat state.json
fi
