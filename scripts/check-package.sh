#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the Debian package that `scripts/package.sh deb` left in
# build/packages: lintian on the upload (.changes: the package, its debug
# symbols and the build information), where any error or warning fails and
# the info, pedantic and overridden tags are shown, then
# tests/app/debian_package.sh on the .deb (fields, contents, the program
# installed or unpacked and run on the worked examples).
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$(dpkg --print-architecture)
shopt -s nullglob
changes=(build/packages/gndfit_*_"$arch".changes)
debs=(build/packages/gndfit_*_"$arch".deb)
if [[ ${#changes[@]} -ne 1 || ${#debs[@]} -ne 1 ]]; then
  echo "check-package: expected one gndfit .changes and .deb for $arch in build/packages" \
       "(run scripts/package.sh deb first)"
  exit 1
fi
# One run shows every tag, overridden ones too (O:); the E: and W: lines
# decide.  (--fail-on would count the overridden tags once they are shown.)
echo "+ lintian --display-info --pedantic --show-overrides --fail-on none ${changes[0]}"
report=$(lintian --display-info --pedantic --show-overrides --fail-on none "${changes[0]}")
[[ -z $report ]] || echo "$report"
if grep -Eq '^[EW]: ' <<< "$report"; then
  echo "check-package: lintian reports errors or warnings: FAILED"
  exit 1
fi
echo "check-package: lintian reports no error and no warning"
bash tests/app/debian_package.sh "${debs[0]}" tests/app/worked_examples.expected
