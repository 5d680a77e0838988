#!/usr/bin/env bash
# Installs the Debian packages that building and testing gndfit needs.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libbenchmark-dev tmux)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
