# SPDX-License-Identifier: MIT
# Sourced by the zip test: `make_package BUILD_DIR PATTERN` runs CPack
# on the build into a new directory `$work` (removed at exit) and sets
# `$package` to the one file matching PATTERN there, or ends the test.
make_package() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cpack --config "$1/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
    { echo "cpack failed:"; cat "$work/cpack.log"; exit 1; }
  package=$(ls "$work"/$2 2> /dev/null | head -1)
  [[ -n $package ]] || { echo "no package made"; ls "$work"; exit 1; }
}
