#!/usr/bin/env bash
# Builds everything and runs every test: native tests, then the Windows tests under Wine.
#   scripts/test.sh            install packages, build native + windows, run both test sets
#   scripts/test.sh sanitize   native tests under ASan+UBSan, the fuzzers' corpus replays and ~60 s of fuzzing
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
jobs=${NX7_JOBS:-$(nproc)}

if [ "${1:-}" = sanitize ]; then
  bash "$root/scripts/build.sh" sanitize
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build/sanitize" --output-on-failure -j "$jobs"
  # A bounded fuzzing run of every fuzz target on top of the corpus replays.
  bash "$root/scripts/fuzz.sh" "${NX7_FUZZ_SECONDS:-60}"
  exit 0
fi

bash "$root/scripts/build.sh" native windows
ctest --test-dir "$root/build/native" --output-on-failure -j "$jobs"
# The Wine prefix, the display and one lasting wineserver come from the wine_prefix fixture.
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-nx7}
ctest --test-dir "$root/build/windows" --output-on-failure -j "$jobs"
