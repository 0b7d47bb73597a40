#!/usr/bin/env bash
# Configures and builds one or more trees from the presets in CMakePresets.json:
#   native   host build: portable core, tools, native tests, benchmarks      -> build/native
#   windows  MinGW-w64 cross build: program, DLLs, nx7ctl.exe, Windows tests -> build/windows
#   sanitize host build with clang, ASan+UBSan and the libFuzzer targets     -> build/sanitize
# Usage: scripts/build.sh [native] [windows] [sanitize] [-DOPTION=VALUE ...]   (default: native windows)
# Options (for example -DNX7_CHINESE_SKINS=ON) are applied to every tree named, also to a tree
# that already exists. NX7_WERROR=ON in the environment makes warnings errors (CI sets it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${NX7_JOBS:-$(nproc)}
export NX7_WERROR=${NX7_WERROR:-OFF}
stages=()
options=()
for arg in "$@"; do
  case "$arg" in
    -D*) options+=("$arg") ;;
    *) stages+=("$arg") ;;
  esac
done
[ ${#stages[@]} -gt 0 ] || stages=(native windows)

configure_and_build() {
  local preset=$1; shift
  # Configuring again is quick and takes the options given now.
  (cd "$root" && cmake --preset "$preset" "${options[@]}" "$@" >/dev/null)
  (cd "$root" && cmake --build --preset "$preset" -j "$jobs")
}

for stage in "${stages[@]}"; do
  case "$stage" in
    native) configure_and_build native ;;
    windows)
      # The cross build runs host tools (the artwork generator) from the native tree.
      if [ -f "$root/build/native/CMakeCache.txt" ]; then
        cmake --build "$root/build/native" -j "$jobs" --target nx7-artgen
      else
        configure_and_build native
      fi
      configure_and_build windows ;;
    sanitize) configure_and_build sanitize ;;
    *) echo "unknown stage: $stage" >&2; exit 2 ;;
  esac
done
