#!/usr/bin/env bash
# Start-up, memory, idle CPU and switch times of NX7Driver.exe on the virtual mouse, measured
# from outside under Wine by tests/app/e2e/measure.cpp; prints the figures (not a test).
#   bench/program_figures.sh [--self-check] [--runs N] [--idle-seconds S]
# Needs the Windows tree (bash scripts/build.sh windows). --self-check measures the harness's
# small window program instead, to show the measuring itself works.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
measure="$root/build/windows/tests/app/e2e/nx7_e2e_measure.exe"
[ -f "$measure" ] || { echo "build the Windows tree first: bash scripts/build.sh windows" >&2; exit 1; }
exec bash "$root/scripts/wine-run.sh" "$measure" "$@"
