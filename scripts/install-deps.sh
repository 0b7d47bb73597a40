#!/usr/bin/env bash
# Installs, by Debian package name, everything the build and the tests need on a fresh Debian 12 machine.
set -euo pipefail
packages=(
  # native build, tests, benchmarks, sanitizers and fuzzers
  build-essential cmake ninja-build pkg-config python3
  clang libclang-rt-14-dev llvm
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpugixml-dev nlohmann-json3-dev
  # artwork generator
  libcairo2-dev libpango1.0-dev fonts-dejavu-core fonts-noto-cjk
  # Windows cross build and its test bed
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev mingw-w64-tools
  wine wine64 xvfb xauth x11-utils imagemagick
  # release packages (scripts/package.sh): the installer and the zip
  nsis zip
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
