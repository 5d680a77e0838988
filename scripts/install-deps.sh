#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building and testing gndfit needs; with
# the argument "program" only what building the program needs, with "deb"
# the Debian packaging tools and every Build-Depends of debian/control, with
# "windows" also the MinGW-w64 cross compiler and Wine, with "arm64" the
# ARM64 cross compiler and QEMU's user-mode emulator, with "wasm"
# Emscripten (with the acorn module its optimizer needs) and Chromium for
# the browser tests, with "fuzz" clang
# and its libFuzzer run-time.  Does
# nothing when they are all present; uses sudo when not run as root.
set -euo pipefail
packages=(g++ cmake ninja-build)
case "${1:-}" in
  program) ;;  # building the program needs no more
  deb) packages+=(dpkg-dev debhelper lintian) ;;  # and debian/control's Build-Depends, below
  *) packages+=(libgtest-dev libbenchmark-dev tmux groff-base nec2c python3 python3-numpy python3-scipy) ;;
esac
case "${1:-}" in
  windows) packages+=(g++-mingw-w64-x86-64-posix googletest wine wine64) ;;
  arm64) packages+=(g++-aarch64-linux-gnu googletest qemu-user) ;;
  wasm) packages+=(emscripten node-acorn chromium) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=""
if [ ${#missing[@]} -gt 0 ]; then
  $sudo apt-get update -q
  updated=yes
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
# The Debian package builds with what its own control file asks for.
source_dir=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = deb ] && ! (cd "$source_dir" && dpkg-checkbuilddeps 2> /dev/null); then
  [ -n "$updated" ] || $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -q "$source_dir"
fi
