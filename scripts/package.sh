#!/usr/bin/env bash
# Makes the packages in build/packages: the Debian package from the
# program preset (the optimised program alone), and the Windows zip from
# the windows preset's cross build.  Usage: scripts/package.sh [deb|zip]
# (both when no argument is given).
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
mkdir -p build/packages
if [[ $what == all || $what == deb ]]; then
  scripts/install-deps.sh program
  command -v dpkg-shlibdeps > /dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q dpkg-dev
  cmake --preset program
  cmake --build --preset program
  cpack --config build/program/CPackConfig.cmake -B build/packages
fi
if [[ $what == all || $what == zip ]]; then
  scripts/install-deps.sh windows
  cmake --preset windows
  cmake --build --preset windows --target gndfit
  cpack --config build/windows/CPackConfig.cmake -B build/packages
fi
rm -rf build/packages/_CPack_Packages
ls -l build/packages
