#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Makes the packages in build/packages: the Debian package built from
# debian/ by dpkg-buildpackage (debhelper, with the tests that need no
# terminal), and the Windows zip from the windows preset's cross build
# (CPack).  Usage: scripts/package.sh [deb|zip] (both when no argument is
# given).  The Debian package is built in a temporary copy of the tree, so
# that neither dpkg-buildpackage's results (written beside the source
# directory) nor debhelper's leftovers land in or next to this checkout.
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
mkdir -p build/packages

# The tree as it is (committed or not, without what git ignores: build/,
# node_modules/) into the directory $1.
copy_tree() {
  mkdir -p "$1"
  if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
      tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$1"
  else
    tar --exclude=./build --exclude=./.git --exclude='./obj-*' --exclude=./tests/web/node_modules \
        --exclude=./debian/gndfit --exclude=./debian/.debhelper --exclude=./debian/tmp -cf - . |
      tar -xf - -C "$1"
  fi
}

# dpkg-buildpackage with two jobs (parallel=2), then its results copied.
build_deb() {
  deb_copy=$(mktemp -d "${TMPDIR:-/tmp}/gndfit-deb.XXXXXX")
  trap 'rm -rf "$deb_copy"' EXIT
  copy_tree "$deb_copy/gndfit"
  (cd "$deb_copy/gndfit" && dpkg-buildpackage -us -uc -b -j2)
  rm -f build/packages/gndfit_*.deb build/packages/gndfit-dbgsym_*.deb \
        build/packages/gndfit_*.changes build/packages/gndfit_*.buildinfo
  cp "$deb_copy"/*.deb "$deb_copy"/*.changes "$deb_copy"/*.buildinfo build/packages/
  rm -rf "$deb_copy"
  trap - EXIT
}

if [[ $what == all || $what == deb ]]; then
  scripts/install-deps.sh deb
  build_deb
fi
if [[ $what == all || $what == zip ]]; then
  scripts/install-deps.sh windows
  cmake --preset windows
  cmake --build --preset windows --target gndfit
  cpack --config build/windows/CPackConfig.cmake -B build/packages
fi
rm -rf build/packages/_CPack_Packages
ls -l build/packages
