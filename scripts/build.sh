#!/usr/bin/env bash
# Configures and builds one or more trees:
#   native   host build: portable core, tools, native tests, benchmarks      -> build/native
#   windows  MinGW-w64 cross build: program, DLLs, nx7ctl.exe, Windows tests -> build/windows
#   sanitize host build with clang, ASan+UBSan and the libFuzzer targets     -> build/sanitize
# Usage: scripts/build.sh [native] [windows] [sanitize]   (default: native windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${NX7_JOBS:-$(nproc)}
stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(native windows)

configure_and_build() {
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$dir" -j "$jobs"
}

for stage in "${stages[@]}"; do
  case "$stage" in
    native) configure_and_build "$root/build/native" ;;
    windows)
      # The cross build runs host tools (the artwork generator) from the native tree.
      if [ -f "$root/build/native/CMakeCache.txt" ]; then
        cmake --build "$root/build/native" -j "$jobs" --target nx7-artgen
      else
        configure_and_build "$root/build/native"
      fi
      configure_and_build "$root/build/windows" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DNX7_HOST_BUILD_DIR="$root/build/native" ;;
    sanitize)
      CC=clang CXX=clang++ configure_and_build "$root/build/sanitize" \
        -DNX7_SANITIZE=ON -DNX7_FUZZ=ON -DNX7_BENCH=OFF ;;
    *) echo "unknown stage: $stage" >&2; exit 2 ;;
  esac
done
