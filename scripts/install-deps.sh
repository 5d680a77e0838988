#!/usr/bin/env bash
# Installs the Debian packages that building and testing gndfit needs; with
# the argument "program" only what building the program needs, with
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
  *) packages+=(libgtest-dev libbenchmark-dev tmux groff-base nec2c dpkg-dev python3-scipy) ;;
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
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
